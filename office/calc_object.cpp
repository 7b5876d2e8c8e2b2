#include "office/calc_object.h"

#include <com/sun/star/lang/DisposedException.hpp>

namespace tabulix::office {

using automation::AutomationError;
using automation::DispId;
using automation::Variant;

Variant CalcObject::doInvoke(DispId id, automation::InvokeKind kind, std::span<const Variant> args,
                             automation::Lcid lcid) {
    const auto turn = session_->takeTurn();
    const CalcCall call(*this, id, kind, args, lcid);
    if (nameOfId(id).empty()) call.wrongKind();
    session_->checkAlive(call.where());
    Variant result;
    try {
        if (!passesPendingCells(call)) session_->writePendingCells();
        result = invokeMember(call);
    } catch (const css::lang::DisposedException& e) {
        session_->fail(call.where(), e, true);
    } catch (const css::uno::Exception& e) {
        session_->fail(call.where(), e);
    }
    session_->deliverEvents();
    return result;
}

}  // namespace tabulix::office
