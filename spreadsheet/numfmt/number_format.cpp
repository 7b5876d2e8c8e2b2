#include "spreadsheet/numfmt/number_format.h"

#include <algorithm>
#include <cmath>

#include "number_format_model.h"
#include "number_format_render.h"

namespace tabulix::spreadsheet {

using numfmt::CompiledFormat;
using numfmt::Purpose;
using numfmt::Section;
using numfmt::SectionKind;

namespace {

const std::string kGeneralCode = "General";
constexpr std::string_view kNotANumber = "#NUM!";

std::string render(const CompiledFormat* format, double value, const NumberConventions& conventions, Purpose purpose) {
    if (!std::isfinite(value)) return std::string(kNotANumber);
    const double magnitude = std::fabs(value);
    const std::string sign = value < 0 ? "-" : "";
    if (!format || format->general || format->numberSections.empty())
        return sign + numfmt::generalText(magnitude, conventions);

    const auto& indexes = format->numberSections;
    const Section* chosen = nullptr;
    bool showSign = true;
    const bool conditional = std::any_of(indexes.begin(), indexes.end(),
                                         [&](int i) { return format->sections[static_cast<std::size_t>(i)].condition.has_value(); });
    if (conditional) {
        // The first section whose condition holds; a section without one takes what is left. A
        // section writes its own sign, and shows the magnitude, only when nothing but negatives
        // reach it: its condition holds for negatives alone, or it has none and the sections
        // before it take every value from zero up. Otherwise a negative keeps its minus sign.
        bool earlierTakeNonNegatives = false;
        for (std::size_t slot = 0; slot < indexes.size() && !chosen; ++slot) {
            const Section& s = format->sections[static_cast<std::size_t>(indexes[slot])];
            if (!s.condition || s.condition->holds(value)) {
                chosen = &s;
                showSign = s.condition ? !s.condition->onlyNegatives() : !earlierTakeNonNegatives;
            }
            if (s.condition && s.condition->allNonNegatives()) earlierTakeNonNegatives = true;
        }
        if (!chosen) return std::string(numfmt::kNoDate);
    } else {
        // positive;negative;zero. The negative section shows the magnitude: it writes its own sign.
        std::size_t slot = 0;
        if (indexes.size() >= 2 && value < 0) {
            slot = 1;
            showSign = false;
        } else if (indexes.size() >= 3 && value == 0) {
            slot = 2;
        }
        chosen = &format->sections[static_cast<std::size_t>(indexes[slot])];
    }

    if (chosen->kind == SectionKind::DateTime) {
        if (value < 0 && showSign) return std::string(numfmt::kNoDate);
        return numfmt::dateSectionText(*chosen, magnitude, conventions, purpose);
    }
    return (showSign ? sign : std::string()) + numfmt::numberSectionText(*chosen, magnitude, conventions, purpose);
}

std::string renderText(const CompiledFormat* format, std::string_view text, Purpose purpose) {
    if (!format || format->textSection < 0) return std::string(text);
    return numfmt::textSectionText(format->sections[static_cast<std::size_t>(format->textSection)], text, purpose);
}

}  // namespace

NumberFormat::NumberFormat() = default;

NumberFormat::NumberFormat(std::shared_ptr<const CompiledFormat> compiled) : compiled_(std::move(compiled)) {}

NumberFormat NumberFormat::general() { return NumberFormat(); }

NumberFormat NumberFormat::parse(std::string_view code, automation::Lcid lcid) {
    CompiledFormat compiled = numfmt::compileFormat(code, isCommaDecimal(lcid));
    if (compiled.general) return general();
    return NumberFormat(std::make_shared<const CompiledFormat>(std::move(compiled)));
}

const std::string& NumberFormat::fileCode() const { return compiled_ ? compiled_->fileCode : kGeneralCode; }

bool NumberFormat::isGeneral() const { return !compiled_; }

bool NumberFormat::isDateTime() const {
    return compiled_ && !compiled_->numberSections.empty() &&
           compiled_->sections[static_cast<std::size_t>(compiled_->numberSections.front())].kind == SectionKind::DateTime;
}

bool NumberFormat::isText() const { return compiled_ && compiled_->numberSections.empty(); }

std::string NumberFormat::display(double value, const NumberConventions& conventions) const {
    return render(compiled_.get(), value, conventions, Purpose::Show);
}

std::string NumberFormat::displayForFit(double value, const NumberConventions& conventions) const {
    return render(compiled_.get(), value, conventions, Purpose::Fit);
}

std::optional<std::uint32_t> NumberFormat::fitShape(double value) const {
    if (!compiled_ || compiled_->general || !std::isfinite(value)) return std::nullopt;
    const auto& indexes = compiled_->numberSections;
    if (indexes.empty() || indexes.size() > 3) return std::nullopt;
    for (int i : indexes)
        if (compiled_->sections[static_cast<std::size_t>(i)].condition) return std::nullopt;
    // The section render() picks for the value.
    std::size_t slot = 0;
    if (indexes.size() >= 2 && value < 0)
        slot = 1;
    else if (indexes.size() >= 3 && value == 0)
        slot = 2;
    const Section& section = compiled_->sections[static_cast<std::size_t>(indexes[slot])];
    if (section.kind != SectionKind::Number || section.scientific || section.fraction) return std::nullopt;
    for (const numfmt::Token& token : section.tokens) {
        if (token.kind == numfmt::TokenKind::GeneralNumber) return std::nullopt;
        // '#' and '?' decimals drop or pad trailing zeros: the count of digits shown varies.
        if (token.kind == numfmt::TokenKind::Digit && token.zone == numfmt::DigitZone::Fraction &&
            token.placeholder != '0')
            return std::nullopt;
    }
    const double scaled = std::fabs(value) * std::pow(100.0, section.percentCount) /
                          std::pow(1000.0, section.scaleThousands) * std::pow(10.0, section.fractionDigits);
    if (!(scaled < 1e15)) return std::nullopt;
    const double units = std::round(scaled);
    std::uint32_t digits = 0;
    double power = 1.0;
    while (units >= power) {
        ++digits;
        power *= 10.0;
    }
    // Rounding the other way at a power of ten would change the count of digits.
    if (units <= 1.0 || units + 1.0 >= power || units == power / 10.0) return std::nullopt;
    return static_cast<std::uint32_t>(slot) | (value < 0 ? 4u : 0u) | digits << 3;
}

std::string NumberFormat::displayText(std::string_view text) const {
    return renderText(compiled_.get(), text, Purpose::Show);
}

std::string NumberFormat::displayTextForFit(std::string_view text) const {
    return renderText(compiled_.get(), text, Purpose::Fit);
}

}  // namespace tabulix::spreadsheet
