#include "office/calc_document_properties.h"

#include <array>
#include <chrono>
#include <cmath>
#include <optional>

#include <com/sun/star/beans/PropertyAttribute.hpp>
#include <com/sun/star/beans/XPropertyContainer.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/beans/XPropertySetInfo.hpp>
#include <com/sun/star/document/XDocumentProperties.hpp>
#include <com/sun/star/document/XDocumentPropertiesSupplier.hpp>
#include <com/sun/star/util/DateTime.hpp>

#include "automation/dispids.h"
#include "framework/text_compare.h"
#include "office/calc_workbook.h"
#include "office/uno_text.h"

namespace tabulix::office {

using automation::DispatchPtr;
using automation::Variant;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace dispid = automation::dispid;

namespace {

enum Property : std::size_t { Title, Subject, Author, Comments, Company, Created, Modified };
constexpr std::array<std::string_view, 7> kNames = {"Title", "Subject", "Author", "Comments", "Company",
                                                    "Creation Date", "Last Save Time"};
constexpr double kUnixEpochSerial = 25569.0;

Reference<css::document::XDocumentProperties> propertiesOf(const CalcWorkbook& book) {
    return Reference<css::document::XDocumentPropertiesSupplier>(book.model(), UNO_QUERY_THROW)->getDocumentProperties();
}

css::util::DateTime dateTimeOf(double serial) {
    using namespace std::chrono;
    const sys_seconds time{seconds{std::llround((serial - kUnixEpochSerial) * 86400.0)}};
    const sys_days day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{time - day};
    css::util::DateTime out;
    out.Year = static_cast<sal_Int16>(static_cast<int>(date.year()));
    out.Month = static_cast<sal_uInt16>(static_cast<unsigned>(date.month()));
    out.Day = static_cast<sal_uInt16>(static_cast<unsigned>(date.day()));
    out.Hours = static_cast<sal_uInt16>(clock.hours().count());
    out.Minutes = static_cast<sal_uInt16>(clock.minutes().count());
    out.Seconds = static_cast<sal_uInt16>(clock.seconds().count());
    out.IsUTC = true;
    return out;
}

std::optional<double> serialOf(const css::util::DateTime& time) {
    if (time.Year == 0) return std::nullopt;  // never set
    using namespace std::chrono;
    const sys_days day{year{time.Year} / month{time.Month} / std::chrono::day{time.Day}};
    const double seconds = time.Hours * 3600.0 + time.Minutes * 60.0 + time.Seconds;
    return kUnixEpochSerial + day.time_since_epoch().count() + seconds / 86400.0;
}

}  // namespace

CalcDocumentProperties::CalcDocumentProperties(std::shared_ptr<CalcWorkbook> book)
    : CalcObject(book->sessionPtr()), book_(std::move(book)) {}

std::span<const CalcObject::Member> CalcDocumentProperties::members() const {
    static constexpr Member kMembers[] = {{"Item", dispid::Item}, {"Count", dispid::Count}};
    return kMembers;
}

Variant CalcDocumentProperties::invokeMember(const CalcCall& call) {
    call.noPut();
    if (!session().workbookWithId(book_->id())) call.fail("its workbook has been closed");
    switch (call.id()) {
        case dispid::Count: call.expectCount(0, 0); return Variant(static_cast<std::int32_t>(kNames.size()));
        case dispid::Item: {
            call.expectCount(1, 1);
            if (call.arg(0).type() == automation::VariantType::Text) {
                for (std::size_t i = 0; i < kNames.size(); ++i)
                    if (framework::sameText(std::string(kNames[i]), call.text(0)))
                        return Variant(DispatchPtr(std::make_shared<CalcDocumentProperty>(book_, i)));
                call.fail("there is no built-in document property \"" + call.text(0) +
                          "\" that LibreOffice Calc keeps (Title, Subject, Author, Comments, Company, Creation Date, "
                          "Last Save Time)");
            }
            const std::int32_t index = call.int32(0);
            if (index < 1 || static_cast<std::size_t>(index) > kNames.size())
                call.fail("there is no document property at position " + std::to_string(index) + " (there are " +
                          std::to_string(kNames.size()) + ")");
            return Variant(DispatchPtr(std::make_shared<CalcDocumentProperty>(book_, static_cast<std::size_t>(index) - 1)));
        }
    }
    call.wrongKind();
}

CalcDocumentProperty::CalcDocumentProperty(std::shared_ptr<CalcWorkbook> book, std::size_t index)
    : CalcObject(book->sessionPtr()), book_(std::move(book)), index_(index) {}

std::span<const CalcObject::Member> CalcDocumentProperty::members() const {
    static constexpr Member kMembers[] = {{"Value", dispid::PropertyValue}};
    return kMembers;
}

Variant CalcDocumentProperty::invokeMember(const CalcCall& call) {
    if (!session().workbookWithId(book_->id())) call.fail("its workbook has been closed");
    if (call.id() != dispid::PropertyValue) call.wrongKind();
    call.expectCount(0, 0);
    const auto doc = propertiesOf(*book_);
    if (index_ == Created || index_ == Modified) {
        if (!call.isPut()) {
            const auto serial = serialOf(index_ == Created ? doc->getCreationDate() : doc->getModificationDate());
            return serial ? Variant(automation::Date{*serial}) : Variant();
        }
        const Variant& value = call.value();
        if (!value.isNumeric())
            call.fail("the property \"" + std::string(kNames[index_]) + "\" takes a date, not " + value.describe());
        const double serial = value.toDate().serial;
        if (!(serial >= 1 && serial < 2958466)) call.fail(value.describe() + " is not a date from 1900 to 9999");
        if (index_ == Created) doc->setCreationDate(dateTimeOf(serial));
        else doc->setModificationDate(dateTimeOf(serial));
        return {};
    }
    if (index_ == Company) {
        const Reference<css::beans::XPropertyContainer> own = doc->getUserDefinedProperties();
        const Reference<css::beans::XPropertySet> values(own, UNO_QUERY_THROW);
        const bool present = values->getPropertySetInfo()->hasPropertyByName("Company");
        if (!call.isPut()) {
            rtl::OUString text;
            if (present) values->getPropertyValue("Company") >>= text;
            return Variant(fromUno(text));
        }
        const css::uno::Any text(toUno(call.value().isNull() ? std::string() : call.valueText()));
        if (present) values->setPropertyValue("Company", text);
        else own->addProperty("Company", css::beans::PropertyAttribute::REMOVABLE, text);
        return {};
    }
    if (!call.isPut()) {
        switch (index_) {
            case Title: return Variant(fromUno(doc->getTitle()));
            case Subject: return Variant(fromUno(doc->getSubject()));
            case Author: return Variant(fromUno(doc->getAuthor()));
            default: return Variant(fromUno(doc->getDescription()));
        }
    }
    const rtl::OUString text = toUno(call.value().isNull() ? std::string() : call.valueText());
    switch (index_) {
        case Title: doc->setTitle(text); break;
        case Subject: doc->setSubject(text); break;
        case Author: doc->setAuthor(text); break;
        default: doc->setDescription(text); break;
    }
    return {};
}

}  // namespace tabulix::office
