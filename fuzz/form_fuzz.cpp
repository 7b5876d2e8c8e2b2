// libFuzzer target for form files: arbitrary text is read as a form (with every class a form
// file of the programs may name, as the designer reads it, so no data set touches a file), and
// what was read is written, read and written again. A text that is no form is refused with a
// FormFileError; anything else escaping, a crash or a sanitizer report is a bug, and so is a
// form that does not read back as itself (the second writing must equal the first). Every
// property of what was read is read back too, derived ones included (a font's Size from its
// Height), as the designer's inspector does.
//
// On top, the string notation alone: any text (made valid UTF-8, NUL and control characters
// included) spelled as a literal by the writer reads back as the same text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "component/component_classes.h"
#include "data/data_classes.h"
#include "framework/form_notation.h"
#include "framework/form_reader.h"
#include "framework/form_writer.h"
#include "framework/property_list.h"
#include "framework/utf8_text.h"

using namespace tabulix::framework;

namespace {

void checkLiteralRoundTrip(std::string_view input) {
    const std::string text = utf8::sanitize(input);
    std::string literal;
    for (const std::string& piece : form_notation::QuoteString(text, 1 + input.size() % 70)) {
        if (!literal.empty()) literal += " +\n    ";
        literal += piece;
    }
    const form_notation::ObjectNode node =
        form_notation::Parse("object A: T\n  P = " + literal + "\nend\n", "literal.form");
    if (node.properties.size() != 1 || node.properties[0].value.text != text) std::abort();
}

void readEveryProperty(TPersistent& object, int depth = 0) {
    if (depth > 8) return;
    const PropertyList properties = PropertyList::Of(object);
    for (const Property& property : properties.Items()) {
        switch (property.Kind()) {
        case PropertyKind::Object:
            if (TPersistent* inner = property.Object()) readEveryProperty(*inner, depth + 1);
            break;
        case PropertyKind::StringList: break;
        case PropertyKind::Reference: property.Referenced(); break;
        default:
            try {
                property.Get();
            } catch (const PropertyValueError&) {
            }
        }
    }
    if (auto* component = dynamic_cast<TComponent*>(&object))
        for (int i = 0; i < component->ComponentCount(); ++i) readEveryProperty(*component->Components(i), depth);
}

void checkFormRoundTrip(std::string_view text) {
    FormReadOptions options;
    options.designing = true;
    std::unique_ptr<TComponent> root;
    try {
        root = ReadForm(text, "fuzz.form", options);
    } catch (const FormFileError&) {
        return;
    }
    readEveryProperty(*root);
    const std::string first = WriteForm(*root);
    root.reset();
    const std::unique_ptr<TComponent> again = ReadForm(first, "written.form", options);
    if (WriteForm(*again) != first) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    tabulix::data::RegisterDataClasses();
    tabulix::component::RegisterComponentClasses();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkLiteralRoundTrip(text);
    checkFormRoundTrip(text);
    return 0;
}
