#include "component/formula_tabulix.h"

#include "component/cell_names.h"
#include "component/tabulix.h"
#include "framework/convert.h"
#include "framework/printable.h"
#include "framework/text_compare.h"

namespace tabulix::component {

namespace {

constexpr const char* kSpanishNames[] = {"SUMA", "PROMEDIO", "MAX", "MIN"};
constexpr const char* kEnglishNames[] = {"SUM", "AVERAGE", "MAX", "MIN"};

std::string upperAscii(std::string text) {
    for (char& c : text) c = framework::upperAscii(c);
    return text;
}

}  // namespace

TFormulaTabulix::TFormulaTabulix(TTabulix* owner) : owner_(owner) {}

std::string TFormulaTabulix::ElementoFormula(const std::string& record, std::int32_t n) {
    if (n < 1) return {};
    std::string_view rest = record;
    for (std::int32_t k = 1;; ++k) {
        const std::size_t semicolon = rest.find(';');
        if (semicolon == std::string_view::npos) return k == n ? std::string(rest) : std::string();
        if (k == n) return std::string(rest.substr(0, semicolon));
        rest.remove_prefix(semicolon + 1);
    }
}

std::string TFormulaTabulix::field(std::int32_t i, std::int32_t n) const {
    if (i > Count()) return {};
    return ElementoFormula(record(i), n);
}

std::int32_t TFormulaTabulix::numberField(std::int32_t i, std::int32_t n) const {
    if (i > Count()) return 0;
    const std::string& line = record(i);
    try {
        return framework::StrToInt(ElementoFormula(line, n));
    } catch (const framework::EConvertError& error) {
        throw framework::EConvertError("formula record " + std::to_string(i) + " ('" + framework::printable(line) +
                                       "'), field " + std::to_string(n) + ": " + error.what());
    }
}

std::string TFormulaTabulix::Campo(std::int32_t i) const { return field(i, 1); }
std::string TFormulaTabulix::Columna(std::int32_t i) const { return field(i, 3); }
std::int32_t TFormulaTabulix::IncrementoFila(std::int32_t i) const { return numberField(i, 4); }
std::string TFormulaTabulix::Texto(std::int32_t i) const { return field(i, 5); }
std::int32_t TFormulaTabulix::Situacion(std::int32_t i) const { return numberField(i, 6); }
std::int32_t TFormulaTabulix::Alineacion(std::int32_t i) const { return numberField(i, 7); }

std::string TFormulaTabulix::NombreFuncion(std::int32_t code) const {
    if (code < 0 || code > 3) return {};
    return castellano_ ? kSpanishNames[code] : kEnglishNames[code];
}

std::string TFormulaTabulix::englishName(std::int32_t code) {
    // The setting goes back to what it was even when the lookup fails.
    struct Restore {
        bool& flag;
        bool saved;
        ~Restore() { flag = saved; }
    } restore{castellano_, castellano_};
    castellano_ = false;
    return NombreFuncion(code);
}

std::string TFormulaTabulix::summary(std::int32_t i, const std::string& range) {
    const std::int32_t code = numberField(i, 2);
    if (code == 4) return FormulaPropia(i);
    return "=" + englishName(code) + "(" + range + ")";
}

std::string TFormulaTabulix::Formula(std::int32_t i) {
    const std::string& line = record(i);
    const std::int32_t column = owner_->ColumnaCampo(ElementoFormula(line, 1));
    const std::string letters = ColumnLetters(column);
    return summary(i, letters + std::to_string(owner_->PrimeraFilaDatos()) + ":" + letters +
                          std::to_string(owner_->UltimaFilaDatos()));
}

std::string TFormulaTabulix::Formula(std::int32_t i, std::int32_t firstColumn, std::int32_t firstRow,
                                     std::int32_t lastColumn, std::int32_t lastRow) {
    record(i);  // the index check comes first
    return summary(i, ColumnLetters(firstColumn) + std::to_string(firstRow) + ":" + ColumnLetters(lastColumn) +
                          std::to_string(lastRow));
}

std::string TFormulaTabulix::FormulaPropia(std::int32_t i) const { return FormulaPropia(ElementoFormula(record(i), 8)); }

std::string TFormulaTabulix::FormulaPropia(const std::string& formula) const {
    std::string text = upperAscii(formula);

    // Record placeholders first; a marker that holds no integer is dropped. The search goes on
    // after what was put in: a record's column text may itself hold "#F".
    for (std::size_t at = text.find("#F"); at != std::string::npos;) {
        const std::string prefix = text.substr(0, at);
        const std::string rest = text.substr(at + 2);
        const std::size_t close = rest.find('#');
        std::string cell;
        if (close != std::string::npos) {
            try {
                cell = owner_->CasillaFormula(framework::StrToInt(rest.substr(0, close)));
            } catch (const framework::EConvertError&) {
            }
        }
        text = prefix + cell + (close == std::string::npos ? rest : rest.substr(close + 1));
        at = text.find("#F", prefix.size() + cell.size());
    }

    // Then range placeholders; a name with no range leaves no trace.
    for (std::size_t at = text.find("#T_"); at != std::string::npos;) {
        const std::string prefix = text.substr(0, at);
        const std::string rest = text.substr(at + 3);
        const std::size_t close = rest.find('#');
        const std::string name = close == std::string::npos ? std::string() : rest.substr(0, close);
        const std::string tail = close == std::string::npos ? rest : rest.substr(close + 1);
        const std::string range = owner_->RangoCampo(name);
        text = prefix + range + tail;
        at = text.find("#T_", prefix.size() + range.size());
    }
    return text;
}

}  // namespace tabulix::component
