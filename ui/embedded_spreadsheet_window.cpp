#include "ui/embedded_spreadsheet_window.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>

#include "automation/application_provider.h"
#include "spreadsheet/embedded_spreadsheet.h"
#include "spreadsheet/model/application.h"
#include "ui/spreadsheet_window.h"

namespace tabulix::ui {

namespace {

// The window of the application the provider started last. An application that is shut down
// and started afresh gets a new window; the old one goes with the new start.
QPointer<SpreadsheetWindow>& startedWindow() {
    static QPointer<SpreadsheetWindow> window;
    return window;
}

class WindowedProvider final : public automation::ApplicationProvider {
public:
    explicit WindowedProvider(automation::Lcid locale) : locale_(locale) {}

    automation::DispatchPtr startApplication() override {
        auto app = spreadsheet::createEmbeddedApplication(locale_);
        // Widgets live on the GUI thread; a worker's application works without a window.
        if (QThread::currentThread() != QCoreApplication::instance()->thread()) return app;
        if (SpreadsheetWindow* old = startedWindow()) old->deleteLater();
        startedWindow() = new SpreadsheetWindow(app);
        return app;
    }

private:
    automation::Lcid locale_;
};

}  // namespace

void installEmbeddedSpreadsheetWithWindow(automation::Lcid displayLocale) {
    automation::setApplicationProvider(std::make_unique<WindowedProvider>(displayLocale));
}

SpreadsheetWindow* runningSpreadsheetWindow() {
    SpreadsheetWindow* window = startedWindow();
    if (!window) return nullptr;
    const auto running = spreadsheet::embeddedApplication(automation::runningApplication());
    return running && running == window->application() ? window : nullptr;
}

}  // namespace tabulix::ui
