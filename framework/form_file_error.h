#pragma once
/// @file
/// Errors of form files. Reading: FormFileError says where and what, as
/// "DemoTabulix.form:12: unknown property 'Colour' of TAtributosCasilla". Writing: FormWriteError
/// says which value cannot be stored.

#include <stdexcept>
#include <string>

#include "framework/export.h"

namespace tabulix::framework {

class TABULIX_API FormFileError : public std::runtime_error {
public:
    FormFileError(std::string file, int line, std::string reason)
        : std::runtime_error(file + ":" + std::to_string(line) + ": " + reason),
          file_(std::move(file)),
          line_(line),
          reason_(std::move(reason)) {}

    const std::string& File() const { return file_; }
    int Line() const { return line_; }
    const std::string& Reason() const { return reason_; }

private:
    std::string file_;
    int line_;
    std::string reason_;
};

class TABULIX_API FormWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tabulix::framework
