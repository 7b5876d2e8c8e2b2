#include "automation/thread_owner.h"

#include <pthread.h>
#include <unistd.h>

#include "automation/automation_error.h"

namespace tabulix::automation {

ThreadOwner::ThreadOwner() : id_(std::this_thread::get_id()), description_(CurrentThreadDescription()) {}

std::shared_ptr<const ThreadOwner> ThreadOwner::ofCurrentThread() { return std::make_shared<const ThreadOwner>(); }

void ThreadOwner::refuse(std::string_view where, std::string_view whose) const {
    throw AutomationError(std::string(where) + ": called from " + CurrentThreadDescription() + ", but " +
                              std::string(whose) + " belongs to " + description_,
                          AutomationError::kWrongThread);
}

std::string CurrentThreadDescription() {
    std::string text = "thread " + std::to_string(::gettid());
    char name[16] = {};  // the longest name Linux keeps, with its terminator
    if (pthread_getname_np(pthread_self(), name, sizeof name) == 0 && name[0] != '\0') text += " (" + std::string(name) + ")";
    return text;
}

}  // namespace tabulix::automation
