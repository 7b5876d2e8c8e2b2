#include "office/calc_events.h"

#include <thread>

#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XFrameActionListener.hpp>
#include <com/sun/star/sheet/XActivationBroadcaster.hpp>
#include <com/sun/star/sheet/XActivationEventListener.hpp>
#include <com/sun/star/util/CloseVetoException.hpp>
#include <com/sun/star/util/XCloseBroadcaster.hpp>
#include <com/sun/star/util/XCloseListener.hpp>
#include <cppuhelper/implbase3.hxx>

#include "office/calc_session.h"
#include "office/calc_workbook.h"

namespace tabulix::office {

namespace {

using css::uno::Reference;

class DocumentListener final
    : public cppu::WeakImplHelper3<css::sheet::XActivationEventListener, css::frame::XFrameActionListener,
                                   css::util::XCloseListener> {
public:
    DocumentListener(std::weak_ptr<CalcSession> session, int workbook, std::thread::id caller)
        : session_(std::move(session)), workbook_(workbook), caller_(caller) {}

    void SAL_CALL activeSpreadsheetChanged(const css::sheet::ActivationEvent& event) override {
        post({CalcEventKind::SheetActivated, workbook_,
              Reference<css::sheet::XSpreadsheet>(event.ActiveSheet, css::uno::UNO_QUERY)});
    }
    void SAL_CALL frameAction(const css::frame::FrameActionEvent& event) override {
        if (event.Action == css::frame::FrameAction_FRAME_ACTIVATED)
            post({CalcEventKind::WorkbookActivated, workbook_, {}});
    }
    // The suite asks before it closes. When it asks on the caller's thread, the one that added
    // the workbook (a close the caller started through the suite), the handlers run now and their
    // cancel flag vetoes the close; asked from another thread (the user's click), they run later
    // and cannot hold it back.
    void SAL_CALL queryClosing(const css::lang::EventObject& source, sal_Bool) override {
        auto session = session_.lock();
        if (!session) return;
        if (std::this_thread::get_id() != caller_) {
            session->post({CalcEventKind::BeforeClose, workbook_, {}});
            return;
        }
        if (session->beforeCloseCancelled(workbook_))
            throw css::util::CloseVetoException("the workbook's before-close handler cancelled the close",
                                                source.Source);
    }
    void SAL_CALL notifyClosing(const css::lang::EventObject&) override {
        post({CalcEventKind::Closed, workbook_, {}});
    }
    void SAL_CALL disposing(const css::lang::EventObject&) override {}

private:
    void post(CalcEvent event) {
        if (auto session = session_.lock()) session->post(std::move(event));
    }

    std::weak_ptr<CalcSession> session_;
    int workbook_;
    std::thread::id caller_;
};

}  // namespace

void listenToWorkbook(const std::shared_ptr<CalcSession>& session, CalcWorkbook& book) {
    DocumentListener* listener = new DocumentListener(session, book.id(), book.addedBy());
    const Reference<css::uno::XInterface> keep(static_cast<cppu::OWeakObject*>(listener));
    const Reference<css::frame::XController> controller = book.controller();
    Reference<css::sheet::XActivationBroadcaster>(controller, css::uno::UNO_QUERY_THROW)
        ->addActivationEventListener(listener);
    controller->getFrame()->addFrameActionListener(listener);
    Reference<css::util::XCloseBroadcaster>(book.model(), css::uno::UNO_QUERY_THROW)->addCloseListener(listener);
}

}  // namespace tabulix::office
