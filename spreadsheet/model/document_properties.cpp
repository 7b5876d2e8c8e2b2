#include "spreadsheet/model/document_properties.h"

#include "automation/dispids.h"
#include "framework/printable.h"
#include "spreadsheet/cells/text_utils.h"
#include "spreadsheet/model/workbook.h"

namespace tabulix::spreadsheet {

using automation::DispatchPtr;
using automation::Variant;
using automation::VariantType;
namespace dispid = automation::dispid;

namespace {

constexpr std::array<std::string_view, 2> kDateNames = {"Creation Date", "Last Save Time"};
constexpr std::size_t kPropertyCount = DocumentProperties::kTextNames.size() + kDateNames.size();

std::string_view nameAt(std::size_t index) {
    const std::size_t texts = DocumentProperties::kTextNames.size();
    return index < texts ? DocumentProperties::kTextNames[index] : kDateNames[index - texts];
}

}  // namespace

Application* DocumentPropertiesCollection::application() const { return book_->application(); }
const automation::ThreadOwner* DocumentPropertiesCollection::threadOwner() const { return book_->threadOwner(); }

std::span<const ModelObject::Member> DocumentPropertiesCollection::members() const {
    static constexpr Member kMembers[] = {{"Item", dispid::Item}, {"Count", dispid::Count}};
    return kMembers;
}

Variant DocumentPropertiesCollection::invokeMember(const Call& call) {
    call.noPut();
    if (book_->isClosed()) call.fail("the workbook \"" + book_->name() + "\" has been closed");
    switch (call.id()) {
        case dispid::Item: {
            call.expectCount(1, 1);
            if (call.arg(0).type() == VariantType::Text) {
                const std::string wanted = foldCase(call.text(0));
                for (std::size_t i = 0; i < kPropertyCount; ++i)
                    if (foldCase(nameAt(i)) == wanted)
                        return Variant(DispatchPtr(std::make_shared<DocumentProperty>(book_, i)));
                call.fail("there is no built-in document property \"" + framework::printable(call.text(0)) + "\"");
            }
            const std::int32_t index = call.int32(0);
            if (index < 1 || static_cast<std::size_t>(index) > kPropertyCount)
                call.fail("there is no document property at position " + std::to_string(index) + " (there are " +
                          std::to_string(kPropertyCount) + ")");
            return Variant(DispatchPtr(std::make_shared<DocumentProperty>(book_, static_cast<std::size_t>(index) - 1)));
        }
        case dispid::Count: call.expectCount(0, 0); return Variant(static_cast<std::int32_t>(kPropertyCount));
    }
    call.wrongKind();
}

Application* DocumentProperty::application() const { return book_->application(); }
const automation::ThreadOwner* DocumentProperty::threadOwner() const { return book_->threadOwner(); }

std::span<const ModelObject::Member> DocumentProperty::members() const {
    static constexpr Member kMembers[] = {{"Value", dispid::PropertyValue}};
    return kMembers;
}

Variant DocumentProperty::invokeMember(const Call& call) {
    if (book_->isClosed()) call.fail("the workbook \"" + book_->name() + "\" has been closed");
    if (call.id() != dispid::PropertyValue) call.wrongKind();
    call.expectCount(0, 0);
    DocumentProperties& properties = book_->documentProperties();
    const std::size_t texts = DocumentProperties::kTextNames.size();
    if (index_ < texts) {
        std::string& text = properties.texts[index_];
        if (!call.isPut()) return Variant(text);
        text = call.value().isNull() ? std::string() : call.valueText();
        return {};
    }
    std::optional<double>& date = index_ == texts ? properties.created : properties.modified;
    if (!call.isPut()) return date ? Variant(automation::Date{*date}) : Variant();
    const Variant& value = call.value();
    if (value.isEmpty() || value.isNull()) {
        date.reset();
        return {};
    }
    if (!value.isNumeric())
        call.fail("the property \"" + std::string(nameAt(index_)) + "\" takes a date, not " + value.describe());
    const double serial = value.toDate().serial;
    // The file keeps dates from 1900 to 9999.
    if (!(serial >= 1 && serial < 2958466))
        call.fail(value.describe() + " is not a date from 1900 to 9999");
    date = serial;
    return {};
}

}  // namespace tabulix::spreadsheet
