#pragma once
// Errors of form files. Reading: FormFileError says where and what, as
// "DemoTabulix.form:12: unknown property 'Colour' of TAtributosCasilla". Writing: FormWriteError
// says which value cannot be stored.

#include <stdexcept>
#include <string>

namespace tabulix::framework {

class FormFileError : public std::runtime_error {
public:
    // The message shows the file and the reason shortened (printable): a reason that quotes a
    // huge value of the file stays a message.
    FormFileError(std::string file, int line, std::string reason);

    const std::string& File() const { return file_; }
    int Line() const { return line_; }
    const std::string& Reason() const { return reason_; }

private:
    std::string file_;
    int line_;
    std::string reason_;
};

class FormWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tabulix::framework
