#include "cli/finish_options.h"

#include <charconv>
#include <vector>

#include "cli/command_line.h"
#include "component/tabulix.h"
#include "framework/printable.h"

namespace tabulix::cli {

namespace {

template <class T>
void setOnce(std::optional<T>& target, const std::string& option, T value) {
    if (target) throw UsageError("option " + option + " is given more than once");
    target = std::move(value);
}

std::int32_t wholeNumber(const std::string& option, const std::string& text, std::int32_t lo, std::int32_t hi) {
    std::int32_t n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc() || end != text.data() + text.size() || n < lo || n > hi)
        throw UsageError("option " + option + " takes a whole number from " + std::to_string(lo) + " to " +
                         std::to_string(hi) + ", not '" + framework::printable(text) + "'");
    return n;
}

double centimetres(const std::string& option, const std::string& text) {
    double cm = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), cm);
    if (error != std::errc() || end != text.data() + text.size() || !(cm > 0 && cm <= 10))
        throw UsageError("option " + option + " takes centimetres above 0 and up to 10, not '" +
                         framework::printable(text) + "'");
    return cm;
}

}  // namespace

bool ParseFinishOption(FinishOptions& o, const std::string& name, const std::function<std::string()>& value,
                       const std::function<void()>& noValue) {
    const auto flag = [&](std::optional<bool>& target) {
        noValue();
        setOnce(target, name, true);
    };
    if (name == "--finished") {
        noValue();
        if (o.finished) throw UsageError("option --finished is given more than once");
        o.finished = true;
    } else if (name == "--freeze") {
        flag(o.freeze);
    } else if (name == "--freeze-columns") {
        setOnce(o.freezeColumns, name, wholeNumber(name, value(), 0, 16383));
    } else if (name == "--autofilter") {
        flag(o.autofilter);
    } else if (name == "--orientation") {
        const std::string text = value();
        if (text != "auto" && text != "portrait" && text != "landscape")
            throw UsageError("option --orientation takes auto, portrait or landscape, not '" +
                             framework::printable(text) + "'");
        setOnce(o.orientation, name, text);
    } else if (name == "--fit-width") {
        setOnce(o.fitWidth, name, wholeNumber(name, value(), 1, 255));
    } else if (name == "--print-titles") {
        flag(o.printTitles);
    } else if (name == "--header-footer") {
        flag(o.headerFooter);
    } else if (name == "--margins") {
        // One value for every side, or left,right,top,bottom.
        const std::string text = value();
        std::vector<double> sides;
        std::size_t start = 0;
        for (;;) {
            const std::size_t comma = text.find(',', start);
            sides.push_back(centimetres(name, text.substr(start, comma - start)));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        if (sides.size() != 1 && sides.size() != 4)
            throw UsageError("option --margins takes one width for every side or four (left,right,top,bottom), not '" +
                             framework::printable(text) + "'");
        if (sides.size() == 1) sides.assign(4, sides[0]);
        setOnce(o.marginLeft, name, sides[0]);
        o.marginRight = sides[1];
        o.marginTop = sides[2];
        o.marginBottom = sides[3];
    } else if (name == "--doc-title") {
        setOnce(o.docTitle, name, value());
    } else if (name == "--subject") {
        setOnce(o.subject, name, value());
    } else if (name == "--author") {
        setOnce(o.author, name, value());
    } else if (name == "--company") {
        setOnce(o.company, name, value());
    } else if (name == "--names") {
        flag(o.names);
    } else {
        return false;
    }
    return true;
}

void ApplyFinishOptions(const FinishOptions& o, component::TTabulix& t) {
    component::TImpresionTabulix& print = t.Impresion();
    component::TDocumentoTabulix& doc = t.Documento();
    if (o.finished) {
        t.InmovilizarCabecera = true;
        t.Autofiltro = true;
        t.NombrarRangos = true;
        print.Orientacion = component::TOrientacionPagina::opAutomatica;
        print.PaginasAncho = 1;
        print.RepetirCabecera = true;
        print.EncabezadoPie = true;
        if (doc.Titulo.empty()) doc.Titulo = t.Titulo;
    }
    if (o.freeze) t.InmovilizarCabecera = *o.freeze;
    if (o.freezeColumns) t.InmovilizarColumnas = *o.freezeColumns;
    if (o.autofilter) t.Autofiltro = *o.autofilter;
    if (o.names) t.NombrarRangos = *o.names;
    if (o.orientation)
        print.Orientacion = *o.orientation == "auto"       ? component::TOrientacionPagina::opAutomatica
                            : *o.orientation == "portrait" ? component::TOrientacionPagina::opVertical
                                                           : component::TOrientacionPagina::opHorizontal;
    if (o.fitWidth) print.PaginasAncho = *o.fitWidth;
    if (o.printTitles) print.RepetirCabecera = *o.printTitles;
    if (o.headerFooter) print.EncabezadoPie = *o.headerFooter;
    if (o.marginLeft) print.MargenIzquierdo = *o.marginLeft;
    if (o.marginRight) print.MargenDerecho = *o.marginRight;
    if (o.marginTop) print.MargenSuperior = *o.marginTop;
    if (o.marginBottom) print.MargenInferior = *o.marginBottom;
    if (o.docTitle) doc.Titulo = *o.docTitle;
    if (o.subject) doc.Asunto = *o.subject;
    if (o.author) doc.Autor = *o.author;
    if (o.company) doc.Compania = *o.company;
}

std::string FinishUsageText() {
    return "The finish of the report (over the form file's settings):\n"
           "  --finished        all of: --freeze --autofilter --names --orientation auto\n"
           "                    --fit-width 1 --print-titles --header-footer, and the report's\n"
           "                    title as the document title\n"
           "  --freeze          freeze the title and heading rows\n"
           "  --freeze-columns N  freeze the first N columns too\n"
           "  --autofilter      filter buttons on the heading row over the data block\n"
           "  --names           a defined name for the data block (the sheet's name) and one for\n"
           "                    each formula result (that name plus _F01, _F02, ...)\n"
           "  --orientation O   auto (landscape when the columns are wider than a portrait page),\n"
           "                    portrait or landscape\n"
           "  --fit-width N     print N pages wide\n"
           "  --print-titles    print the title and heading rows on every page\n"
           "  --header-footer   the title in the page header; the date and \"P\xC3\xA1gina X de Y\" in\n"
           "                    the footer\n"
           "  --margins CM      page margins in centimetres: one for all sides or L,R,T,B\n"
           "  --doc-title T, --subject S, --author A, --company C\n"
           "                    the workbook's document properties\n";
}

}  // namespace tabulix::cli
