#pragma once
/// @file
/// The error every data set operation raises: a message that names the data set, the field, the
/// file or the record concerned, so that whoever reads it can tell what failed and where.

#include <stdexcept>
#include <string>

#include "framework/export.h"

namespace tabulix::data {

/// @brief The error of a data set operation: what() names the data set, field, file or record
/// concerned.
/// @threads Thrown on the thread of the failed call.
class TABULIX_API EDatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tabulix::data
