#include "automation/dispids.h"
#include "component/currency_format.h"
#include "component/tabulix.h"
#include "data/field_classes.h"
#include "framework/currency_settings.h"

namespace tabulix::component {

using automation::DispatchPtr;
using automation::Variant;
namespace dispid = automation::dispid;
namespace xl = automation::xl;

namespace {

// Border index of each inside line, by ordinal.
constexpr std::int32_t kInsideBorder[] = {xl::CellLeft,     xl::CellRight,  xl::CellTop,         xl::CellBottom,
                                          xl::DiagonalDown, xl::DiagonalUp, xl::InsideVertical, xl::InsideHorizontal};
// Border index of each outer edge, by ordinal: each selects the edge its name gives.
constexpr std::int32_t kOutlineBorder[] = {xl::EdgeLeft, xl::EdgeRight, xl::EdgeTop, xl::EdgeBottom};

void drawBorder(const DispatchPtr& range, std::int32_t index, std::int32_t weight, framework::TColor colour) {
    // The border collection is fetched anew for every setting, as the spreadsheet expects it.
    range->get(dispid::Borders).toObject()->get(dispid::Item, {Variant(index)}).toObject()->put(dispid::Weight,
                                                                                               Variant(weight));
    range->get(dispid::Borders).toObject()->get(dispid::Item, {Variant(index)}).toObject()->put(dispid::Color,
                                                                                               Variant(colour));
}

std::int32_t alignmentCode(data::TAlignment alignment) {
    switch (alignment) {
        case data::TAlignment::taLeftJustify: return xl::HAlignLeft;
        case data::TAlignment::taRightJustify: return xl::HAlignRight;
        case data::TAlignment::taCenter: return xl::HAlignCenter;
    }
    return xl::HAlignLeft;
}

}  // namespace

void TTabulix::AsignarFuente(const std::string& cellName, const framework::TFont& font) {
    requireOwnThread("AsignarFuente");
    AsignarFuente(cellName, cellName, font);
}

void TTabulix::AsignarFuente(const std::string& first, const std::string& last, const framework::TFont& font) {
    requireOwnThread("AsignarFuente");
    DispatchPtr range = rangeOf(first, last);
    if (!range) return;
    DispatchPtr target = range->get(dispid::Font).toObject();
    target->put(dispid::Name, Variant(font.Name()));
    target->put(dispid::Color, Variant(static_cast<std::int32_t>(font.Color())));
    target->put(dispid::Size, Variant(static_cast<std::int32_t>(font.Size())));
    target->put(dispid::Bold, Variant(font.Style().Contains(framework::fsBold)));
    target->put(dispid::Italic, Variant(font.Style().Contains(framework::fsItalic)));
    target->put(dispid::Underline, Variant(font.Style().Contains(framework::fsUnderline)));
}

void TTabulix::AsignarAtributosCasilla(const std::string& cellName, const TAtributosCasilla& attributes) {
    requireOwnThread("AsignarAtributosCasilla");
    AsignarAtributosCasilla(cellName, cellName, attributes);
}

void TTabulix::AsignarAtributosCasilla(const std::string& first, const std::string& last,
                                       const TAtributosCasilla& attributes) {
    requireOwnThread("AsignarAtributosCasilla");
    if (!worksheet_ || !worksheet_->IsConnected()) return;
    AsignarFuente(first, last, attributes.Fuente());
    DispatchPtr range = rangeOf(first, last);
    if (!range) return;
    if (attributes.ColorFondoActivado)
        range->get(dispid::Interior).toObject()->put(dispid::Color, Variant(static_cast<std::int32_t>(attributes.ColorFondo)));
    for (std::uint8_t i = 0; i < std::size(kInsideBorder); ++i)
        if (attributes.LiniasInterior.Contains(static_cast<TLiniaInterior>(i)))
            drawBorder(range, kInsideBorder[i], attributes.GrosorInterior(), attributes.LiniasInteriorColor);
    for (std::uint8_t i = 0; i < std::size(kOutlineBorder); ++i)
        if (attributes.LiniasContorno.Contains(static_cast<TLiniaContorno>(i)))
            drawBorder(range, kOutlineBorder[i], attributes.GrosorContorno(), attributes.LiniasContornoColor);
}

void TTabulix::AutoAjustarSeleccion(const std::string& first, const std::string& last) {
    requireOwnThread("AutoAjustarSeleccion");
    DispatchPtr range = rangeOf(first, last);
    if (!range) return;
    range->get(dispid::Columns).toObject()->call(dispid::AutoFit);
}

void TTabulix::AsignarFormato(const std::string& first, const std::string& last, const data::TField& field) {
    requireOwnThread("AsignarFormato");
    DispatchPtr range = rangeOf(first, last);
    if (!range) return;
    range->put(dispid::HorizontalAlignment, Variant(alignmentCode(field.Alignment())));
    if (const auto* numeric = dynamic_cast<const data::TNumericField*>(&field))
        AsignarFormatoNumerico(first, last, *numeric);
}

void TTabulix::AsignarFormatoNumerico(const std::string& first, const std::string& last,
                                      const data::TNumericField& field) {
    requireOwnThread("AsignarFormatoNumerico");
    if (!worksheet_ || !worksheet_->IsConnected()) return;
    const std::string format = ComaEsDecimal ? FormatoEsp(field.DisplayFormat()) : field.DisplayFormat();
    DispatchPtr range = rangeOf(first, last);
    if (!range) return;
    range->put(dispid::NumberFormat, Variant(format), formatNotationLcid());
    const auto* floating = dynamic_cast<const data::TFloatField*>(&field);
    if (floating && floating->Currency()) {
        range = rangeOf(first, last);
        if (!range) return;
        range->put(dispid::NumberFormat, Variant(currencyFormat(field.DisplayFormat())), formatNotationLcid());
    }
}

void TTabulix::AsignarFormatoNumerico(const std::string& cellName, const std::string& format, bool currency) {
    requireOwnThread("AsignarFormatoNumerico");
    AsignarFormatoNumerico(cellName, cellName, format, currency);
}

void TTabulix::AsignarFormatoNumerico(const std::string& first, const std::string& last, const std::string& format,
                                      bool currency) {
    requireOwnThread("AsignarFormatoNumerico");
    DispatchPtr range = rangeOf(first, last);
    if (!range) return;
    std::string sent;
    if (currency) sent = currencyFormat(format);
    else sent = ComaEsDecimal ? FormatoEsp(format) : format;
    range->put(dispid::NumberFormat, Variant(sent), formatNotationLcid());
}

std::string TTabulix::FormatoEsp(const std::string& format) const { return SwapDecimalNotation(format); }

std::string TTabulix::currencyFormat(const std::string& displayFormat) const {
    const framework::CurrencySettings settings = framework::Currency();
    return CurrencyNumberFormat(settings.CurrencyString, settings.CurrencyFormat, DecimalsOf(displayFormat),
                                ComaEsDecimal);
}

automation::Lcid TTabulix::formatNotationLcid() const {
    return ComaEsDecimal ? automation::kLcidSpanishSpain : automation::kLcidEnglishUS;
}

}  // namespace tabulix::component
