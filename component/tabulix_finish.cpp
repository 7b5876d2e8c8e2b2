// The finish of a transferred report: frozen headings, an autofilter, the page set-up, the
// workbook's document properties and defined names. Each part is asked for by a published
// property and, left at its default, makes no call at all, so a report without them is the
// same workbook it always was.

#include <chrono>
#include <cstdio>

#include "automation/dispids.h"
#include "component/tabulix.h"
#include "component/tabulix_error.h"

namespace tabulix::component {

using automation::DispatchPtr;
using automation::Variant;
namespace dispid = automation::dispid;
namespace xl = automation::xl;

namespace {

// A4 portrait is 595 points wide; the applications' default side margins are 0.7 inch each.
constexpr double kPortraitPaperWidth = 595.0;
constexpr double kDefaultSideMargin = 0.7 * 72.0;
constexpr double kPointsPerCentimetre = 72.0 / 2.54;

// The printed width of a column of `characters` standard characters: 7 pixels a character plus
// 5 of padding, at 96 pixels to the inch.
double columnPoints(double characters) { return (characters * 7.0 + 5.0) * 0.75; }

// Header and footer texts give "&" a meaning of its own; a title's "&" is doubled to print.
std::string headerLiteral(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '&') out += '&';
    }
    return out;
}

// A sheet name as a formula refers to it: always quoted, quotes doubled.
std::string quotedSheet(const std::string& sheet) {
    std::string out = "'";
    for (char c : sheet) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

// "$A$5" from "A5".
std::string absolute(const std::string& letters, std::int64_t row) { return "$" + letters + "$" + std::to_string(row); }

bool looksLikeCellReference(const std::string& name) {
    std::size_t i = 0;
    while (i < name.size() && i < 3 && ((name[i] >= 'A' && name[i] <= 'Z') || (name[i] >= 'a' && name[i] <= 'z'))) ++i;
    if (i == 0 || i == name.size()) return false;
    for (std::size_t j = i; j < name.size(); ++j)
        if (name[j] < '0' || name[j] > '9') return false;
    return true;
}

// The name a sheet's data block goes by: the sheet name with every character a defined name
// may not hold (blanks, punctuation but "." and "_") turned to "_"; a name that would read as
// a cell reference or starts with a digit or "." gets a leading "_". Letters beyond ASCII stay.
std::string blockName(const std::string& sheet) {
    std::string name;
    for (unsigned char c : sheet) {
        const bool ok = c >= 0x80 || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                        c == '_' || c == '.';
        name += ok ? static_cast<char>(c) : '_';
    }
    if (name.empty() || (name[0] >= '0' && name[0] <= '9') || name[0] == '.' || looksLikeCellReference(name) ||
        name == "R" || name == "C" || name == "r" || name == "c")
        name.insert(name.begin(), '_');
    return name;
}

std::string recordSuffix(std::int32_t record) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "_F%02d", static_cast<int>(record));
    return digits;
}

Variant nowAsDate() {
    using namespace std::chrono;
    const double seconds = duration<double>(system_clock::now().time_since_epoch()).count();
    // Whole seconds: the document formats keep no finer time.
    return Variant(automation::Date{25569.0 + static_cast<double>(static_cast<std::int64_t>(seconds)) / 86400.0});
}

}  // namespace

void TTabulix::putFilterButtons(const ReportBlock& block) {
    if (!Autofiltro || block.headingRow == 0 || block.letters.empty()) return;
    const std::string heading = std::to_string(block.headingRow);
    const std::int64_t last = std::max(block.lastRow, block.headingRow);
    transferRange("A" + heading, block.letters.back() + std::to_string(last))->call(dispid::AutoFilter);
}

void TTabulix::finishReport(const ReportBlock& block) {
    if (NombrarRangos) nameRanges(block);
    const std::int64_t frozenRows = InmovilizarCabecera ? block.firstRow - 1 : 0;
    if (frozenRows > 0 || InmovilizarColumnas > 0)
        freezePanes(static_cast<std::int32_t>(frozenRows), InmovilizarColumnas);
    if (impresion_->Activa()) setUpPages(block);
    if (documento_->Activo()) setDocumentProperties();
}

void TTabulix::freezePanes(std::int32_t rows, std::int32_t columns) {
    if (!workbook_) throw ETabulixError("No hay ning\xC3\xBAn libro conectado para inmovilizar la cabecera");
    // The workbook's window shows its active sheet, the one the transfer wrote.
    DispatchPtr window = workbook_->Object()->get(dispid::Windows).toObject()->get(dispid::Item, {Variant(1)}).toObject();
    window->put(dispid::FreezePanes, Variant(false), lcid_);
    window->put(dispid::ScrollRow, Variant(std::int32_t{1}), lcid_);
    window->put(dispid::ScrollColumn, Variant(std::int32_t{1}), lcid_);
    window->put(dispid::SplitRow, Variant(rows), lcid_);
    window->put(dispid::SplitColumn, Variant(columns), lcid_);
    window->put(dispid::FreezePanes, Variant(true), lcid_);
}

void TTabulix::setUpPages(const ReportBlock& block) {
    const TImpresionTabulix& print = *impresion_;
    DispatchPtr page = worksheet_->Object()->get(dispid::PageSetup).toObject();

    const auto margin = [&](automation::DispId id, double centimetres) {
        if (centimetres > 0) page->put(id, Variant(centimetres * kPointsPerCentimetre), lcid_);
    };
    margin(dispid::LeftMargin, print.MargenIzquierdo);
    margin(dispid::RightMargin, print.MargenDerecho);
    margin(dispid::TopMargin, print.MargenSuperior);
    margin(dispid::BottomMargin, print.MargenInferior);

    if (print.Orientacion != TOrientacionPagina::opSinCambio) {
        std::int32_t orientation = print.Orientacion == TOrientacionPagina::opHorizontal ? xl::Landscape : xl::Portrait;
        if (print.Orientacion == TOrientacionPagina::opAutomatica) {
            double width = 0;
            const std::string row = std::to_string(block.firstRow);
            for (const std::string& letters : block.letters)
                width += columnPoints(transferRange(letters + row, letters + row)->get(dispid::ColumnWidth).toDouble());
            const auto side = [](double cm) { return cm > 0 ? cm * kPointsPerCentimetre : kDefaultSideMargin; };
            const double printable = kPortraitPaperWidth - side(print.MargenIzquierdo) - side(print.MargenDerecho);
            // Fitting to one page wide shrinks rather than turns only when the block fits upright.
            orientation = width > printable ? xl::Landscape : xl::Portrait;
        }
        page->put(dispid::Orientation, Variant(orientation), lcid_);
    }
    if (print.PaginasAncho > 0) {
        page->put(dispid::Zoom, Variant(false), lcid_);
        page->put(dispid::FitToPagesWide, Variant(print.PaginasAncho), lcid_);
        page->put(dispid::FitToPagesTall, Variant(false), lcid_);  // as many pages down as it takes
    }
    if (print.RepetirCabecera) {
        const std::int64_t last = block.headingRow > 0 ? block.headingRow : block.firstRow - 1;
        if (last >= block.firstSheetRow)
            page->put(dispid::PrintTitleRows,
                      Variant("$" + std::to_string(block.firstSheetRow) + ":$" + std::to_string(last)), lcid_);
    }
    if (print.EncabezadoPie) {
        page->put(dispid::CenterHeader, Variant(Titulo.empty() ? std::string("&A") : headerLiteral(Titulo)), lcid_);
        page->put(dispid::LeftFooter, Variant("&D"), lcid_);
        page->put(dispid::RightFooter, Variant("P\xC3\xA1gina &P de &N"), lcid_);
    }
}

void TTabulix::setDocumentProperties() {
    if (!workbook_) throw ETabulixError("No hay ning\xC3\xBAn libro conectado para sus propiedades");
    DispatchPtr properties = workbook_->Object()->get(dispid::BuiltinDocumentProperties).toObject();
    const auto set = [&](const char* name, const Variant& value) {
        properties->get(dispid::Item, {Variant(name)}).toObject()->put(dispid::PropertyValue, value, lcid_);
    };
    const TDocumentoTabulix& doc = *documento_;
    if (!doc.Titulo.empty()) set("Title", Variant(doc.Titulo));
    if (!doc.Asunto.empty()) set("Subject", Variant(doc.Asunto));
    if (!doc.Autor.empty()) set("Author", Variant(doc.Autor));
    if (!doc.Compania.empty()) set("Company", Variant(doc.Compania));
    const Variant now = nowAsDate();
    set("Creation Date", now);
    set("Last Save Time", now);
}

void TTabulix::nameRanges(const ReportBlock& block) {
    if (!workbook_) throw ETabulixError("No hay ning\xC3\xBAn libro conectado para nombrar sus rangos");
    if (block.letters.empty()) return;
    const std::string sheet = worksheet_->Object()->get(dispid::Name).toText();
    const std::string base = blockName(sheet);
    DispatchPtr names = workbook_->Object()->get(dispid::Names).toObject();
    const auto add = [&](const std::string& name, const std::string& reference) {
        names->call(dispid::Add, {Variant(name), Variant("=" + quotedSheet(sheet) + "!" + reference)}, lcid_);
    };
    // A block without records still names its (empty) first row, so formulas keep a target.
    const std::int64_t last = std::max(block.lastRow, block.firstRow);
    add(base, absolute("A", block.firstRow) + ":" + absolute(block.letters.back(), last));
    for (const auto& [record, cell] : block.results) {
        std::size_t digits = 0;
        while (digits < cell.size() && !(cell[digits] >= '0' && cell[digits] <= '9')) ++digits;
        add(base + recordSuffix(record), "$" + cell.substr(0, digits) + "$" + cell.substr(digits));
    }
}

}  // namespace tabulix::component
