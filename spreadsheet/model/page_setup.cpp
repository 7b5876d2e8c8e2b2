#include "spreadsheet/model/page_setup.h"

#include <cmath>

#include "automation/dispids.h"
#include "spreadsheet/cells/text_utils.h"
#include "spreadsheet/model/worksheet.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;
using automation::Variant;
using automation::VariantType;
namespace dispid = automation::dispid;
namespace xl = automation::xl;

namespace {

// Twenty inches: past any paper the file format names.
constexpr double kMaxMargin = 20 * 72.0;
// The paper sizes the file format numbers (1 Letter, 9 A4 ... 118).
constexpr std::int32_t kMaxPaperSize = 118;

double& marginOf(PageLayout& page, automation::DispId id) {
    switch (id) {
        case dispid::LeftMargin: return page.leftMargin;
        case dispid::RightMargin: return page.rightMargin;
        case dispid::TopMargin: return page.topMargin;
        case dispid::BottomMargin: return page.bottomMargin;
        case dispid::HeaderMargin: return page.headerMargin;
        default: return page.footerMargin;
    }
}

std::string& headerFooterPart(PageLayout& page, automation::DispId id) {
    switch (id) {
        case dispid::LeftHeader: return page.header[0];
        case dispid::CenterHeader: return page.header[1];
        case dispid::RightHeader: return page.header[2];
        case dispid::LeftFooter: return page.footer[0];
        case dispid::CenterFooter: return page.footer[1];
        default: return page.footer[2];
    }
}

// Zoom and the page counts read False where they are not in use.
Variant countOrFalse(std::optional<std::uint32_t> value) {
    return value && *value != 0 ? Variant(static_cast<std::int32_t>(*value)) : Variant(false);
}

// A whole number in [low, high] or False (nothing); anything else is refused.
std::optional<std::uint32_t> countOrNothing(const Call& call, std::uint32_t low, std::uint32_t high) {
    const Variant& value = call.value();
    if (value.type() == VariantType::Boolean) {
        if (*value.getIf<bool>()) call.fail("True is not a value here; give a number or False");
        return std::nullopt;
    }
    const double number = call.valueNumber();
    if (!(number >= low && number <= high) || number != std::floor(number))
        call.fail(value.describe() + " is out of range: give a whole number from " + std::to_string(low) + " to " +
                  std::to_string(high) + ", or False");
    return static_cast<std::uint32_t>(number);
}

// "$1:$4", "1:4", "$A$1:$H$4" or any of them after a sheet name and "!": the rows they span.
std::pair<std::uint32_t, std::uint32_t> titleRowsOf(const Call& call, std::string text) {
    if (const auto bang = text.rfind('!'); bang != std::string::npos) text.erase(0, bang + 1);
    std::string plain;
    for (char c : text)
        if (c != '$') plain += c;
    const auto colon = plain.find(':');
    const std::string first = plain.substr(0, colon);
    const std::string last = colon == std::string::npos ? first : plain.substr(colon + 1);
    const auto allDigits = [](const std::string& s) {
        return !s.empty() && s.size() <= 7 && s.find_first_not_of("0123456789") == std::string::npos;
    };
    if (allDigits(first) && allDigits(last)) {
        const auto a = static_cast<std::uint32_t>(std::stoul(first)), b = static_cast<std::uint32_t>(std::stoul(last));
        if (a >= 1 && b >= 1 && a <= kMaxRows && b <= kMaxRows) return {std::min(a, b), std::max(a, b)};
    } else {
        try {
            const CellRect rect = parseRangeRef(plain);
            return {rect.first.row, rect.last.row};
        } catch (const AutomationError&) {
        }
    }
    call.fail("\"" + text + "\" names no rows; give rows such as \"$1:$4\"");
}

std::string titleRowsText(const PageLayout& page) {
    if (!page.hasTitleRows()) return {};
    return "$" + std::to_string(page.titleFirstRow) + ":$" + std::to_string(page.titleLastRow);
}

// The length a header or footer takes in the file: its three parts, each behind its "&L",
// "&C" or "&R".
std::size_t storedLength(const std::array<std::string, 3>& parts) {
    std::size_t length = 0;
    for (const std::string& part : parts)
        if (!part.empty()) length += 2 + codePointCount(part);
    return length;
}

}  // namespace

Application* PageSetup::application() const { return sheet_->application(); }
const automation::ThreadOwner* PageSetup::threadOwner() const { return sheet_->threadOwner(); }

std::span<const ModelObject::Member> PageSetup::members() const {
    static constexpr Member kMembers[] = {
        {"LeftMargin", dispid::LeftMargin},       {"RightMargin", dispid::RightMargin},
        {"TopMargin", dispid::TopMargin},         {"BottomMargin", dispid::BottomMargin},
        {"HeaderMargin", dispid::HeaderMargin},   {"FooterMargin", dispid::FooterMargin},
        {"Orientation", dispid::Orientation},     {"PaperSize", dispid::PaperSize},
        {"Zoom", dispid::Zoom},                   {"FitToPagesWide", dispid::FitToPagesWide},
        {"FitToPagesTall", dispid::FitToPagesTall}, {"PrintTitleRows", dispid::PrintTitleRows},
        {"LeftHeader", dispid::LeftHeader},       {"CenterHeader", dispid::CenterHeader},
        {"RightHeader", dispid::RightHeader},     {"LeftFooter", dispid::LeftFooter},
        {"CenterFooter", dispid::CenterFooter},   {"RightFooter", dispid::RightFooter},
    };
    return kMembers;
}

Variant PageSetup::invokeMember(const Call& call) {
    if (!sheet_->isAttached()) call.fail("the worksheet \"" + sheet_->name() + "\" belongs to a closed workbook");
    call.expectCount(0, 0);
    PageLayout& page = sheet_->pageLayout();
    switch (call.id()) {
        case dispid::LeftMargin:
        case dispid::RightMargin:
        case dispid::TopMargin:
        case dispid::BottomMargin:
        case dispid::HeaderMargin:
        case dispid::FooterMargin: {
            double& margin = marginOf(page, call.id());
            if (!call.isPut()) return Variant(margin);
            const double points = call.valueNumber();
            if (!(points >= 0 && points <= kMaxMargin))
                call.fail(call.value().describe() + " is not a margin: give 0 to 1440 points");
            margin = points;
            return {};
        }
        case dispid::Orientation: {
            if (!call.isPut())
                return Variant(page.orientation == PageOrientation::Landscape ? xl::Landscape : xl::Portrait);
            const std::int32_t code = call.valueInt32();
            if (code != xl::Portrait && code != xl::Landscape)
                call.fail(std::to_string(code) + " is not an orientation (1 portrait, 2 landscape)");
            page.orientation = code == xl::Landscape ? PageOrientation::Landscape : PageOrientation::Portrait;
            return {};
        }
        case dispid::PaperSize: {
            if (!call.isPut()) return Variant(static_cast<std::int32_t>(page.paperSize == 0 ? 1 : page.paperSize));
            const std::int32_t size = call.valueInt32();
            if (size < 1 || size > kMaxPaperSize)
                call.fail(std::to_string(size) + " is not a paper size (1 to 118; 9 is A4)");
            page.paperSize = static_cast<std::uint32_t>(size);
            return {};
        }
        case dispid::Zoom:
            if (!call.isPut()) return countOrFalse(page.zoom);
            page.zoom = countOrNothing(call, PageLayout::kMinZoom, PageLayout::kMaxZoom);
            return {};
        case dispid::FitToPagesWide:
        case dispid::FitToPagesTall: {
            std::uint32_t& pages = call.id() == dispid::FitToPagesWide ? page.fitWide : page.fitTall;
            if (!call.isPut()) return countOrFalse(pages);
            pages = countOrNothing(call, 0, PageLayout::kMaxFitPages).value_or(0);
            return {};
        }
        case dispid::PrintTitleRows: {
            if (!call.isPut()) return Variant(titleRowsText(page));
            const std::string text = call.value().isNull() ? std::string() : call.valueText();
            if (text.empty()) {
                page.titleFirstRow = page.titleLastRow = 0;
                return {};
            }
            std::tie(page.titleFirstRow, page.titleLastRow) = titleRowsOf(call, text);
            return {};
        }
        case dispid::LeftHeader:
        case dispid::CenterHeader:
        case dispid::RightHeader:
        case dispid::LeftFooter:
        case dispid::CenterFooter:
        case dispid::RightFooter: {
            std::string& part = headerFooterPart(page, call.id());
            if (!call.isPut()) return Variant(part);
            const bool isHeader = &part >= &page.header[0] && &part <= &page.header[2];
            std::array<std::string, 3> parts = isHeader ? page.header : page.footer;
            std::string text = call.value().isNull() ? std::string() : call.valueText();
            parts[static_cast<std::size_t>(&part - (isHeader ? &page.header[0] : &page.footer[0]))] = text;
            if (storedLength(parts) > PageLayout::kMaxHeaderFooterLength)
                call.fail(std::string(isHeader ? "the header" : "the footer") + " would be longer than 255 characters");
            part = std::move(text);
            return {};
        }
    }
    call.wrongKind();
}

}  // namespace tabulix::spreadsheet
