#pragma once
/// @file
/// The error an automation call raises: the application's own message, plus the object and member
/// that refused, so that a caller (or a user) can tell what and where.
///
/// Thread rule: an error is a value; it may be thrown on one thread and read on any other.

#include <cstdint>
#include <stdexcept>
#include <string>

#include "framework/export.h"

namespace tabulix::automation {

/// @brief The error an automation call raises: the application's own message with the object
/// and member that refused, and an error code.
/// @threads Thrown on the thread of the failed call.
class TABULIX_API AutomationError : public std::runtime_error {
public:
    /// Makes the error.
    /// @param message what failed and where.
    /// @param scode the error code.
    explicit AutomationError(std::string message, std::int32_t scode = kGenericFailure);

    /// The error code: one of the k constants, or the application's own.
    std::int32_t scode() const { return scode_; }

    /// The application's own failure (a refused value, cell name, formula or save).
    static constexpr std::int32_t kGenericFailure = static_cast<std::int32_t>(0x800A03ECu);
    /// A value of the wrong type.
    static constexpr std::int32_t kTypeMismatch = static_cast<std::int32_t>(0x80020005u);
    /// A member name the object does not have.
    static constexpr std::int32_t kUnknownName = static_cast<std::int32_t>(0x80020006u);
    /// A member number the object does not have, or a call it does not take.
    static constexpr std::int32_t kMemberNotFound = static_cast<std::int32_t>(0x80020003u);
    /// Too many or too few arguments.
    static constexpr std::int32_t kBadParamCount = static_cast<std::int32_t>(0x8002000Eu);
    /// An object of another kind than the one expected.
    static constexpr std::int32_t kNoInterface = static_cast<std::int32_t>(0x80004002u);
    /// A call on an object from a thread it does not belong to (thread_owner.h).
    static constexpr std::int32_t kWrongThread = static_cast<std::int32_t>(0x8001010Eu);

private:
    std::int32_t scode_;
};

}  // namespace tabulix::automation
