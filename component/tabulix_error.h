#pragma once
/// @file
/// The component's own errors (those that do not come from the spreadsheet or the data set).

#include <stdexcept>

#include "framework/export.h"

namespace tabulix::component {

class TABULIX_API ETabulixError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tabulix::component
