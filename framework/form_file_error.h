#pragma once
/// @file
/// Errors of form files. Reading: FormFileError says where and what, as
/// "DemoTabulix.form:12: unknown property 'Colour' of TAtributosCasilla". Writing: FormWriteError
/// says which value cannot be stored.

#include <stdexcept>
#include <string>

#include "framework/export.h"

namespace tabulix::framework {

/// @brief A form file that cannot be read: what() is "file:line: reason".
/// @threads Thrown on the thread of the failed read.
class TABULIX_API FormFileError : public std::runtime_error {
public:
    /// Makes the error. The message shows the file and the reason made printable, so that a
    /// reason quoting a huge value of the file stays a message.
    /// @param file the file's name as the program gave it.
    /// @param line the line, from 1; 0 when the file could not be read at all.
    /// @param reason what is wrong.
    FormFileError(std::string file, int line, std::string reason);

    /// The file's name.
    const std::string& File() const { return file_; }
    /// The line, from 1; 0 when the file could not be read at all.
    int Line() const { return line_; }
    /// What is wrong, without the file and line.
    const std::string& Reason() const { return reason_; }

private:
    std::string file_;
    int line_;
    std::string reason_;
};

/// @brief A form that cannot be written: what() names the value that has no notation.
/// @threads Thrown on the thread of the failed write.
class TABULIX_API FormWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tabulix::framework
