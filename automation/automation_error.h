#pragma once
// The error an automation call raises: the application's own message, plus the object and member
// that refused, so that a caller (or a user) can tell what and where.
//
// Thread rule: an error is a value; it may be thrown on one thread and read on any other.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tabulix::automation {

class AutomationError : public std::runtime_error {
public:
    explicit AutomationError(std::string message, std::int32_t scode = kGenericFailure);

    std::int32_t scode() const { return scode_; }

    static constexpr std::int32_t kGenericFailure = static_cast<std::int32_t>(0x800A03ECu);  // app-defined
    static constexpr std::int32_t kTypeMismatch = static_cast<std::int32_t>(0x80020005u);
    static constexpr std::int32_t kUnknownName = static_cast<std::int32_t>(0x80020006u);
    static constexpr std::int32_t kMemberNotFound = static_cast<std::int32_t>(0x80020003u);
    static constexpr std::int32_t kBadParamCount = static_cast<std::int32_t>(0x8002000Eu);
    static constexpr std::int32_t kNoInterface = static_cast<std::int32_t>(0x80004002u);
    // A call on an object from a thread it does not belong to (thread_owner.h).
    static constexpr std::int32_t kWrongThread = static_cast<std::int32_t>(0x8001010Eu);

private:
    std::int32_t scode_;
};

}  // namespace tabulix::automation
