#include "framework/form_file_error.h"

#include "framework/printable.h"

namespace tabulix::framework {

FormFileError::FormFileError(std::string file, int line, std::string reason)
    : std::runtime_error(printable(file, kPrintablePathLength) + ":" + std::to_string(line) + ": " +
                         printable(reason, kPrintableMessageLength)),
      file_(std::move(file)),
      line_(line),
      reason_(std::move(reason)) {}

}  // namespace tabulix::framework
