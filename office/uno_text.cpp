#include "office/uno_text.h"

#include <osl/file.hxx>

namespace tabulix::office {

rtl::OUString toUno(std::string_view text) {
    return rtl::OUString(text.data(), static_cast<sal_Int32>(text.size()), RTL_TEXTENCODING_UTF8);
}

std::string fromUno(const rtl::OUString& text) {
    const rtl::OString bytes = rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8);
    return std::string(bytes.getStr(), static_cast<std::size_t>(bytes.getLength()));
}

rtl::OUString fileUrl(std::string_view path) {
    rtl::OUString url;
    if (osl::FileBase::getFileURLFromSystemPath(toUno(path), url) != osl::FileBase::E_None)
        return toUno("file://" + std::string(path));
    return url;
}

}  // namespace tabulix::office
