#include "spreadsheet/embedded_spreadsheet.h"

#include "automation/application_provider.h"
#include "automation/automation_error.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/xlsx/xlsx_export.h"

namespace tabulix::spreadsheet {

namespace {

class EmbeddedProvider final : public automation::ApplicationProvider {
public:
    explicit EmbeddedProvider(automation::Lcid locale) : locale_(locale) {}
    automation::DispatchPtr startApplication() override { return createEmbeddedApplication(locale_); }

private:
    automation::Lcid locale_;
};

}  // namespace

std::shared_ptr<Application> createEmbeddedApplication(automation::Lcid displayLocale) {
    return Application::create(displayLocale, &writeXlsx);
}

void installEmbeddedSpreadsheet(automation::Lcid displayLocale) {
    automation::setApplicationProvider(std::make_unique<EmbeddedProvider>(displayLocale));
}

std::shared_ptr<Application> embeddedApplication(const automation::DispatchPtr& object) {
    return std::dynamic_pointer_cast<Application>(object);
}

std::shared_ptr<Application> runningEmbeddedApplication() {
    auto app = embeddedApplication(automation::attachOrStartApplication());
    if (!app) throw automation::AutomationError("The running spreadsheet application is not the embedded one");
    return app;
}

}  // namespace tabulix::spreadsheet
