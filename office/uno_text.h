#pragma once
// Text between the automation layer (UTF-8 std::string) and UNO (OUString).

#include <string>
#include <string_view>

#include <rtl/ustring.hxx>

namespace tabulix::office {

rtl::OUString toUno(std::string_view text);
std::string fromUno(const rtl::OUString& text);
// The file URL of an absolute path, with the characters a URL cannot hold escaped.
rtl::OUString fileUrl(std::string_view path);

}  // namespace tabulix::office
