#include "spreadsheet/model/model_object.h"

#include "spreadsheet/model/application.h"

namespace tabulix::spreadsheet {

automation::Variant ModelObject::doInvoke(automation::DispId id, automation::InvokeKind kind,
                                          std::span<const automation::Variant> args, automation::Lcid lcid) {
    // An unknown DispID falls through every object's member switch to Call::wrongKind.
    return invokeMember(Call(*this, id, kind, args, lcid));
}

automation::CallJournal* ModelObject::journal() const {
    const Application* app = application();
    return app ? app->callJournal() : nullptr;
}

}  // namespace tabulix::spreadsheet
