#pragma once
/// @file
/// The component's own errors (those that do not come from the spreadsheet or the data set).

#include <stdexcept>

#include "framework/export.h"

namespace tabulix::component {

/// @brief The component's own errors, those that come neither from the spreadsheet nor from
/// the data set: a transfer without a worksheet or data set, an unknown chart type, ...
/// what() says what failed, in Spanish like the component's other texts.
/// @threads Thrown on the thread of the failed call.
class TABULIX_API ETabulixError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tabulix::component
