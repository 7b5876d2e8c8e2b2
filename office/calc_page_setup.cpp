#include "office/calc_page_setup.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <vector>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XNameContainer.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XHeaderFooterContent.hpp>
#include <com/sun/star/sheet/XPrintAreas.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>

#include "automation/dispids.h"
#include "office/calc_sheet.h"
#include "office/calc_workbook.h"
#include "office/uno_text.h"

namespace tabulix::office {

using automation::Variant;
using automation::VariantType;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace dispid = automation::dispid;
namespace xl = automation::xl;

namespace {

constexpr double kHundredthsOfMillimetrePerPoint = 2540.0 / 72.0;
constexpr double kMaxMarginPoints = 20 * 72.0;
constexpr std::int32_t kMaxRows = 1048576;
constexpr std::string_view kOwnStylePrefix = "Tabulix ";

// Header and footer codes and the fields Calc draws for them.
struct FieldCode {
    char code;
    const char* service;
};
constexpr FieldCode kFieldCodes[] = {
    {'P', "com.sun.star.text.TextField.PageNumber"}, {'N', "com.sun.star.text.TextField.PageCount"},
    {'D', "com.sun.star.text.TextField.DateTime"},   {'T', "com.sun.star.text.TextField.DateTime"},
    {'A', "com.sun.star.text.TextField.SheetName"},  {'F', "com.sun.star.text.TextField.FileName"},
};

Reference<css::beans::XPropertySet> props(const Reference<css::uno::XInterface>& object) {
    return Reference<css::beans::XPropertySet>(object, UNO_QUERY_THROW);
}

template <class T>
T read(const Reference<css::beans::XPropertySet>& set, const char* name) {
    T value{};
    set->getPropertyValue(toUno(name)) >>= value;
    return value;
}

// "$1:$4", "1:4", "$A$1:$H$4", any of them after "Sheet!": the rows (1-based) they span.
std::optional<std::pair<std::int32_t, std::int32_t>> titleRows(std::string text) {
    if (const auto bang = text.rfind('!'); bang != std::string::npos) text.erase(0, bang + 1);
    std::string plain;
    for (char c : text)
        if (c != '$') plain += c;
    const auto colon = plain.find(':');
    const auto rowOf = [](const std::string& cell) -> std::optional<std::int32_t> {
        std::size_t i = 0;
        while (i < cell.size() && std::isalpha(static_cast<unsigned char>(cell[i]))) ++i;
        if (i > 3 || i == cell.size() || cell.size() - i > 7) return std::nullopt;
        std::int32_t row = 0;
        for (std::size_t j = i; j < cell.size(); ++j) {
            if (!std::isdigit(static_cast<unsigned char>(cell[j]))) return std::nullopt;
            row = row * 10 + (cell[j] - '0');
        }
        if (row < 1 || row > kMaxRows) return std::nullopt;
        return row;
    };
    const auto first = rowOf(plain.substr(0, colon));
    const auto last = rowOf(colon == std::string::npos ? plain : plain.substr(colon + 1));
    if (!first || !last) return std::nullopt;
    return std::pair(std::min(*first, *last), std::max(*first, *last));
}

}  // namespace

CalcPageSetup::CalcPageSetup(std::shared_ptr<CalcSheet> sheet) : CalcObject(sheet->sessionPtr()), sheet_(std::move(sheet)) {}

std::span<const CalcObject::Member> CalcPageSetup::members() const {
    static constexpr Member kMembers[] = {
        {"LeftMargin", dispid::LeftMargin},       {"RightMargin", dispid::RightMargin},
        {"TopMargin", dispid::TopMargin},         {"BottomMargin", dispid::BottomMargin},
        {"Orientation", dispid::Orientation},     {"Zoom", dispid::Zoom},
        {"FitToPagesWide", dispid::FitToPagesWide}, {"FitToPagesTall", dispid::FitToPagesTall},
        {"PrintTitleRows", dispid::PrintTitleRows}, {"LeftHeader", dispid::LeftHeader},
        {"CenterHeader", dispid::CenterHeader},   {"RightHeader", dispid::RightHeader},
        {"LeftFooter", dispid::LeftFooter},       {"CenterFooter", dispid::CenterFooter},
        {"RightFooter", dispid::RightFooter},
    };
    return kMembers;
}

namespace {

// The page style the sheet prints with, made its own before the first change.
class SheetPageStyle {
public:
    SheetPageStyle(const CalcSheet& sheet) : sheet_(sheet) {
        styles_.set(Reference<css::style::XStyleFamiliesSupplier>(sheet.workbook()->model(), UNO_QUERY_THROW)
                        ->getStyleFamilies()
                        ->getByName("PageStyles"),
                    UNO_QUERY_THROW);
    }

    Reference<css::beans::XPropertySet> forReading() const {
        return props(Reference<css::uno::XInterface>(styles_->getByName(current()), UNO_QUERY_THROW));
    }

    Reference<css::beans::XPropertySet> forChanging() {
        const rtl::OUString name = current();
        if (fromUno(name).starts_with(kOwnStylePrefix)) return forReading();
        // A copy of what the sheet printed with, under a name no style has.
        const Reference<css::beans::XPropertySet> shared = forReading();
        int n = 1;
        while (styles_->hasByName(toUno(std::string(kOwnStylePrefix) + std::to_string(n)))) ++n;
        const rtl::OUString own = toUno(std::string(kOwnStylePrefix) + std::to_string(n));
        const Reference<css::uno::XInterface> style =
            Reference<css::lang::XMultiServiceFactory>(sheet_.workbook()->model(), UNO_QUERY_THROW)
                ->createInstance("com.sun.star.style.PageStyle");
        styles_->insertByName(own, css::uno::Any(style));
        const auto copy = props(style);
        for (const char* property : {"Width", "Height", "IsLandscape", "LeftMargin", "RightMargin", "TopMargin",
                                     "BottomMargin", "PageScale", "ScaleToPagesX", "ScaleToPagesY"})
            copy->setPropertyValue(toUno(property), shared->getPropertyValue(toUno(property)));
        // A header and footer of fixed height, so that the cells begin where the margins say
        // whatever the header holds.
        copy->setPropertyValue("HeaderIsDynamicHeight", css::uno::Any(false));
        copy->setPropertyValue("FooterIsDynamicHeight", css::uno::Any(false));
        props(sheet_.sheet())->setPropertyValue("PageStyle", css::uno::Any(own));
        return copy;
    }

private:
    rtl::OUString current() const { return read<rtl::OUString>(props(sheet_.sheet()), "PageStyle"); }

    const CalcSheet& sheet_;
    Reference<css::container::XNameContainer> styles_;
};

// A header or footer part as text with its codes.
std::string textWithCodes(const Reference<css::text::XText>& text) {
    std::string out;
    const auto paragraphs = Reference<css::container::XEnumerationAccess>(text, UNO_QUERY_THROW)->createEnumeration();
    for (bool first = true; paragraphs->hasMoreElements(); first = false) {
        if (!first) out += '\n';
        const auto portions = Reference<css::container::XEnumerationAccess>(paragraphs->nextElement(), UNO_QUERY_THROW)
                                  ->createEnumeration();
        while (portions->hasMoreElements()) {
            const auto portion = props(Reference<css::uno::XInterface>(portions->nextElement(), UNO_QUERY_THROW));
            if (read<rtl::OUString>(portion, "TextPortionType") == "TextField") {
                const auto field = read<Reference<css::uno::XInterface>>(portion, "TextField");
                const Reference<css::lang::XServiceInfo> info(field, UNO_QUERY_THROW);
                for (const FieldCode& f : kFieldCodes) {
                    if (!info->supportsService(toUno(f.service))) continue;
                    if (f.code == 'D' && !read<bool>(props(field), "IsDate")) continue;
                    out += '&';
                    out += f.code;
                    break;
                }
                continue;
            }
            for (char c : fromUno(Reference<css::text::XTextRange>(portion, UNO_QUERY_THROW)->getString())) {
                out += c;
                if (c == '&') out += '&';
            }
        }
    }
    return out;
}

// Puts `codes` into a header or footer part: texts as they are, codes as Calc's fields.
void setTextWithCodes(const CalcCall& call, const Reference<css::text::XText>& text, const std::string& codes,
                      const Reference<css::lang::XMultiServiceFactory>& factory) {
    std::string plain;
    std::vector<std::pair<std::string, char>> pieces;  // text before each field, and the field
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] != '&') {
            plain += codes[i];
            continue;
        }
        const char code = i + 1 < codes.size() ? static_cast<char>(std::toupper(static_cast<unsigned char>(codes[i + 1]))) : '\0';
        ++i;
        if (code == '&') {
            plain += '&';
            continue;
        }
        bool known = false;
        for (const FieldCode& f : kFieldCodes) known = known || f.code == code;
        if (!known)
            call.fail("\"&" + (i < codes.size() ? std::string(1, codes[i]) : std::string()) +
                      "\" is not a header or footer code LibreOffice Calc draws (&P, &N, &D, &T, &A, &F, &&)");
        pieces.emplace_back(plain, code);
        plain.clear();
    }
    text->setString(rtl::OUString());
    for (const auto& [before, code] : pieces) {
        text->insertString(text->getEnd(), toUno(before), false);
        for (const FieldCode& f : kFieldCodes) {
            if (f.code != code) continue;
            const Reference<css::uno::XInterface> field = factory->createInstance(toUno(f.service));
            if (f.code == 'D' || f.code == 'T') {
                props(field)->setPropertyValue("IsDate", css::uno::Any(f.code == 'D'));
                props(field)->setPropertyValue("IsFixed", css::uno::Any(false));
            }
            text->insertTextContent(text->getEnd(), Reference<css::text::XTextContent>(field, UNO_QUERY_THROW), false);
            break;
        }
    }
    text->insertString(text->getEnd(), toUno(plain), false);
}

// The height a shown header (footer) takes above (below) the cells, 1/100 mm.
sal_Int32 headerBand(const Reference<css::beans::XPropertySet>& page, bool header) {
    if (!read<bool>(page, header ? "HeaderIsOn" : "FooterIsOn")) return 0;
    return read<sal_Int32>(page, header ? "HeaderHeight" : "FooterHeight");
}

// Zoom and the page counts read False where they are not in use.
Variant countOrFalse(sal_Int16 value) { return value > 0 ? Variant(static_cast<std::int32_t>(value)) : Variant(false); }

// A whole number in [low, high], or 0 for False.
sal_Int16 countOrZero(const CalcCall& call, std::int32_t low, std::int32_t high) {
    const Variant& value = call.value();
    if (value.type() == VariantType::Boolean) {
        if (*value.getIf<bool>()) call.fail("True is not a value here; give a number or False");
        return 0;
    }
    const double number = call.valueNumber();
    if (!(number >= low && number <= high) || number != std::floor(number))
        call.fail(value.describe() + " is out of range: give a whole number from " + std::to_string(low) + " to " +
                  std::to_string(high) + ", or False");
    return static_cast<sal_Int16>(number);
}

}  // namespace

Variant CalcPageSetup::invokeMember(const CalcCall& call) {
    if (!session().workbookWithId(sheet_->workbook()->id())) call.fail("its workbook has been closed");
    call.expectCount(0, 0);
    SheetPageStyle style(*sheet_);
    switch (call.id()) {
        case dispid::LeftMargin:
        case dispid::RightMargin:
        case dispid::TopMargin:
        case dispid::BottomMargin: {
            const char* name = call.id() == dispid::LeftMargin    ? "LeftMargin"
                               : call.id() == dispid::RightMargin ? "RightMargin"
                               : call.id() == dispid::TopMargin   ? "TopMargin"
                                                                  : "BottomMargin";
            // The spreadsheet's top and bottom margins reach the cells; Calc's reach its header and
            // footer, which lie between.
            const auto band = [&](const Reference<css::beans::XPropertySet>& page) {
                if (call.id() == dispid::TopMargin) return headerBand(page, true);
                if (call.id() == dispid::BottomMargin) return headerBand(page, false);
                return sal_Int32{0};
            };
            if (!call.isPut()) {
                const auto page = style.forReading();
                return Variant((read<sal_Int32>(page, name) + band(page)) / kHundredthsOfMillimetrePerPoint);
            }
            const double points = call.valueNumber();
            if (!(points >= 0 && points <= kMaxMarginPoints))
                call.fail(call.value().describe() + " is not a margin: give 0 to 1440 points");
            const auto page = style.forChanging();
            const auto wanted = static_cast<sal_Int32>(std::lround(points * kHundredthsOfMillimetrePerPoint));
            page->setPropertyValue(toUno(name), css::uno::Any(std::max<sal_Int32>(0, wanted - band(page))));
            return {};
        }
        case dispid::Orientation: {
            if (!call.isPut()) return Variant(read<bool>(style.forReading(), "IsLandscape") ? xl::Landscape : xl::Portrait);
            const std::int32_t code = call.valueInt32();
            if (code != xl::Portrait && code != xl::Landscape)
                call.fail(std::to_string(code) + " is not an orientation (1 portrait, 2 landscape)");
            const auto page = style.forChanging();
            const auto width = read<sal_Int32>(page, "Width"), height = read<sal_Int32>(page, "Height");
            const bool landscape = code == xl::Landscape;
            page->setPropertyValue("IsLandscape", css::uno::Any(landscape));
            page->setPropertyValue("Width", css::uno::Any(landscape ? std::max(width, height) : std::min(width, height)));
            page->setPropertyValue("Height", css::uno::Any(landscape ? std::min(width, height) : std::max(width, height)));
            return {};
        }
        case dispid::Zoom: {
            if (!call.isPut()) {
                const auto page = style.forReading();
                const bool fitted = read<sal_Int16>(page, "ScaleToPagesX") > 0 || read<sal_Int16>(page, "ScaleToPagesY") > 0 ||
                                    read<sal_Int16>(page, "ScaleToPages") > 0;
                return fitted ? Variant(false) : countOrFalse(read<sal_Int16>(page, "PageScale"));
            }
            // False leaves the page counts to say how it prints.
            const sal_Int16 zoom = countOrZero(call, 10, 400);
            if (zoom == 0) return {};
            const auto page = style.forChanging();
            for (const char* fit : {"ScaleToPagesX", "ScaleToPagesY", "ScaleToPages"})
                page->setPropertyValue(toUno(fit), css::uno::Any(sal_Int16{0}));
            page->setPropertyValue("PageScale", css::uno::Any(zoom));
            return {};
        }
        case dispid::FitToPagesWide:
        case dispid::FitToPagesTall: {
            const char* name = call.id() == dispid::FitToPagesWide ? "ScaleToPagesX" : "ScaleToPagesY";
            if (!call.isPut()) return countOrFalse(read<sal_Int16>(style.forReading(), name));
            style.forChanging()->setPropertyValue(toUno(name), css::uno::Any(countOrZero(call, 0, 32767)));
            return {};
        }
        case dispid::PrintTitleRows: {
            const Reference<css::sheet::XPrintAreas> areas(sheet_->sheet(), UNO_QUERY_THROW);
            if (!call.isPut()) {
                if (!areas->getPrintTitleRows()) return Variant(std::string());
                const auto rows = areas->getTitleRows();
                return Variant("$" + std::to_string(rows.StartRow + 1) + ":$" + std::to_string(rows.EndRow + 1));
            }
            const std::string text = call.value().isNull() ? std::string() : call.valueText();
            if (text.empty()) {
                areas->setPrintTitleRows(false);
                return {};
            }
            const auto rows = titleRows(text);
            if (!rows) call.fail("\"" + text + "\" names no rows; give rows such as \"$1:$4\"");
            css::table::CellRangeAddress address;
            address.Sheet = Reference<css::sheet::XCellRangeAddressable>(sheet_->sheet(), UNO_QUERY_THROW)->getRangeAddress().Sheet;
            address.StartRow = rows->first - 1;
            address.EndRow = rows->second - 1;
            areas->setTitleRows(address);
            areas->setPrintTitleRows(true);
            return {};
        }
        case dispid::LeftHeader:
        case dispid::CenterHeader:
        case dispid::RightHeader:
        case dispid::LeftFooter:
        case dispid::CenterFooter:
        case dispid::RightFooter: {
            const bool header = call.id() == dispid::LeftHeader || call.id() == dispid::CenterHeader ||
                                call.id() == dispid::RightHeader;
            const char* contentName = header ? "RightPageHeaderContent" : "RightPageFooterContent";
            const auto partOf = [&](const Reference<css::sheet::XHeaderFooterContent>& content) {
                if (call.id() == dispid::LeftHeader || call.id() == dispid::LeftFooter) return content->getLeftText();
                if (call.id() == dispid::CenterHeader || call.id() == dispid::CenterFooter) return content->getCenterText();
                return content->getRightText();
            };
            if (!call.isPut()) {
                const auto page = style.forReading();
                if (!read<bool>(page, header ? "HeaderIsOn" : "FooterIsOn")) return Variant(std::string());
                return Variant(textWithCodes(partOf(read<Reference<css::sheet::XHeaderFooterContent>>(page, contentName))));
            }
            const std::string text = call.value().isNull() ? std::string() : call.valueText();
            if (toUno(text).getLength() > 255) call.fail("a header or footer holds at most 255 characters");
            const auto page = style.forChanging();
            const auto content = read<Reference<css::sheet::XHeaderFooterContent>>(page, contentName);
            setTextWithCodes(call, partOf(content), text,
                             Reference<css::lang::XMultiServiceFactory>(sheet_->workbook()->model(), UNO_QUERY_THROW));
            if (!read<bool>(page, header ? "HeaderIsOn" : "FooterIsOn")) {
                // The cells stay where the margin put them: the header takes its room from the margin.
                page->setPropertyValue(header ? "HeaderIsOn" : "FooterIsOn", css::uno::Any(true));
                const char* margin = header ? "TopMargin" : "BottomMargin";
                page->setPropertyValue(toUno(margin), css::uno::Any(std::max<sal_Int32>(
                                                          0, read<sal_Int32>(page, margin) - headerBand(page, header))));
            }
            page->setPropertyValue(toUno(contentName), css::uno::Any(content));
            return {};
        }
    }
    call.wrongKind();
}

}  // namespace tabulix::office
