#pragma once
// The suite's own listeners on a document: its controller's sheet activation, its frame's
// activation and its close notices. They queue the events on the session.

#include <memory>

namespace tabulix::office {

class CalcSession;
class CalcWorkbook;

void listenToWorkbook(const std::shared_ptr<CalcSession>& session, CalcWorkbook& book);

}  // namespace tabulix::office
