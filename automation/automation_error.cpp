#include "automation/automation_error.h"

namespace tabulix::automation {

AutomationError::AutomationError(std::string message, std::int32_t scode)
    : std::runtime_error(std::move(message)), scode_(scode) {}

}  // namespace tabulix::automation
