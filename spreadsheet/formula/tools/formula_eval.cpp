// formula_eval: computes formulas over cells read from a text file, for comparisons with other
// spreadsheets.
//
// Input, one cell per line, fields separated by tabs:   <cell> <kind> <content>
//   cell  "B7" on the first sheet, or "Name!B7" (sheets are created in order of appearance)
//   kind  n number | s text | b TRUE/FALSE | e error literal | f formula ("=...")
// Texts may contain \t, \n and \\ escapes. Lines starting with "#" are skipped.
// Output, one line per formula in input order:  <cell> <kind> <result>   with kind n, s, b, e,
// or "refused" followed by the refusal message.

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "automation/automation_error.h"
#include "spreadsheet/formula/memory_host.h"
#include "spreadsheet/formula/recalculator.h"

using namespace tabulix::spreadsheet::formula;

namespace {

std::string unescape(std::string_view text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            result += text[i];
            continue;
        }
        const char next = text[++i];
        result += next == 't' ? '\t' : next == 'n' ? '\n' : next;
    }
    return result;
}

std::string escape(std::string_view text) {
    std::string result;
    for (char c : text) {
        if (c == '\t')
            result += "\\t";
        else if (c == '\n')
            result += "\\n";
        else if (c == '\\')
            result += "\\\\";
        else
            result += c;
    }
    return result;
}

std::string describe(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::Number: {
        char buffer[64];
        auto end = std::to_chars(buffer, buffer + sizeof buffer, value.number()).ptr;
        return "n\t" + std::string(buffer, end);
    }
    case Value::Kind::Text: return "s\t" + escape(value.text());
    case Value::Kind::Boolean: return std::string("b\t") + (value.boolean() ? "TRUE" : "FALSE");
    case Value::Kind::Error: return "e\t" + std::string(errorText(value.error()));
    case Value::Kind::Empty: break;
    }
    return "n\t0";
}

struct Input {
    std::string cell;
    CellPosition at;
    bool isFormula = false;
    std::string refusal;
};

class Workbook {
public:
    Workbook() { host_.addSheet("Hoja1"); }

    // "Name!B7" or "B7": the position, creating the sheet when new.
    CellPosition position(const std::string& cell) {
        std::string name = "Hoja1", address = cell;
        if (auto bang = cell.rfind('!'); bang != std::string::npos) {
            name = cell.substr(0, bang);
            address = cell.substr(bang + 1);
        }
        auto sheet = host_.sheetIndex(name);
        if (!sheet) sheet = host_.addSheet(name);
        const Formula reference = Formula::parse("=" + address);
        if (reference.references().size() != 1 || !reference.references()[0].rect.isSingleCell())
            throw std::runtime_error("not a cell: " + cell);
        const CellRect& rect = reference.references()[0].rect;
        return CellPosition{*sheet, rect.firstRow, rect.firstColumn};
    }

    MemoryHost& host() { return host_; }

private:
    MemoryHost host_;
};

Value parseValue(char kind, const std::string& content) {
    switch (kind) {
    case 'n': {
        double number = 0;
        std::from_chars(content.data(), content.data() + content.size(), number);
        return number;
    }
    case 'b': return content == "TRUE";
    case 'e': {
        auto error = errorFromText(content);
        if (!error) throw std::runtime_error("unknown error value " + content);
        return *error;
    }
    default: return content;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: formula_eval [cells.tsv]   (reads standard input without a file)\n";
        return 2;
    }
    std::ifstream file;
    if (argc == 2) {
        file.open(argv[1]);
        if (!file) {
            std::cerr << "formula_eval: cannot open " << argv[1] << "\n";
            return 2;
        }
    }
    std::istream& in = argc == 2 ? static_cast<std::istream&>(file) : std::cin;

    Workbook workbook;
    SystemClock clock;
    Recalculator recalculator(workbook.host(), clock);
    std::vector<Input> inputs;
    std::string line;
    int lineNumber = 0;
    try {
        Recalculator::Batch batch(recalculator);
        while (std::getline(in, line)) {
            ++lineNumber;
            if (line.empty() || line[0] == '#') continue;
            const auto firstTab = line.find('\t');
            const auto secondTab = firstTab == std::string::npos ? firstTab : line.find('\t', firstTab + 1);
            if (secondTab == std::string::npos || secondTab != firstTab + 2)
                throw std::runtime_error("expected <cell> TAB <kind> TAB <content>");
            Input input{line.substr(0, firstTab), {}, line[firstTab + 1] == 'f', {}};
            input.at = workbook.position(input.cell);
            const std::string content = unescape(line.substr(secondTab + 1));
            if (input.isFormula) {
                try {
                    recalculator.setFormula(input.at, Formula::parse(content));
                } catch (const tabulix::automation::AutomationError& e) {
                    input.refusal = e.what();
                }
            } else {
                workbook.host().setValue(input.at, parseValue(line[firstTab + 1], content));
                recalculator.cellChanged(input.at);
            }
            inputs.push_back(std::move(input));
        }
    } catch (const std::exception& e) {
        std::cerr << "formula_eval: line " << lineNumber << ": " << e.what() << "\n";
        return 2;
    }
    for (const Input& input : inputs) {
        if (!input.isFormula) continue;
        if (!input.refusal.empty())
            std::cout << input.cell << "\trefused\t" << escape(input.refusal) << "\n";
        else
            std::cout << input.cell << "\t" << describe(workbook.host().value(input.at)) << "\n";
    }
    return 0;
}
