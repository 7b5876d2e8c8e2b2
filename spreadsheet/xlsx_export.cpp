#include "spreadsheet/xlsx_export.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <climits>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "automation/automation_error.h"
#include "framework/printable.h"
#include "spreadsheet/chart_sheet.h"
#include "spreadsheet/number_format_table.h"
#include "spreadsheet/workbook.h"
#include "spreadsheet/worksheet.h"
#include "spreadsheet/xlsx_chart.h"
#include "spreadsheet/xlsx_typed_results.h"
#include "spreadsheet/xml_text.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;

namespace {

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The name the file gets: ".xlsx" is added to a name without extension; other extensions
// would promise a format this writer does not produce.
std::string targetPath(const std::string& path) {
    if (path.empty()) throw AutomationError("Cannot save: the file name is empty");
    const std::size_t slash = path.find_last_of('/');
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    if (base.empty()) throw AutomationError("Cannot save \"" + path + "\": the path names a folder, not a file");
    if (base.size() > NAME_MAX || path.size() >= PATH_MAX)
        throw AutomationError("Cannot save \"" + framework::printable(path) + "\": the file name is too long (" +
                              std::to_string(base.size()) + " bytes, " + std::to_string(path.size()) +
                              " with its folder; at most " + std::to_string(NAME_MAX) + " and " +
                              std::to_string(PATH_MAX - 1) + ")");
    const std::size_t dot = base.find_last_of('.');
    if (dot == std::string::npos || dot == 0) return path + ".xlsx";
    if (lowerAscii(base.substr(dot)) != ".xlsx")
        throw AutomationError("Cannot save \"" + path + "\": only .xlsx workbooks can be written");
    return path;
}

lxw_format_borders borderStyle(BorderWeight weight) {
    switch (weight) {
        case BorderWeight::None: return LXW_BORDER_NONE;
        case BorderWeight::Hairline: return LXW_BORDER_HAIR;
        case BorderWeight::Thin: return LXW_BORDER_THIN;
        case BorderWeight::Medium: return LXW_BORDER_MEDIUM;
        case BorderWeight::Thick: return LXW_BORDER_THICK;
    }
    return LXW_BORDER_NONE;
}

std::uint8_t underlineStyle(Underline u) {
    switch (u) {
        case Underline::None: return LXW_UNDERLINE_NONE;
        case Underline::Single: return LXW_UNDERLINE_SINGLE;
        case Underline::Double: return LXW_UNDERLINE_DOUBLE;
        case Underline::SingleAccounting: return LXW_UNDERLINE_SINGLE_ACCOUNTING;
        case Underline::DoubleAccounting: return LXW_UNDERLINE_DOUBLE_ACCOUNTING;
    }
    return LXW_UNDERLINE_NONE;
}

std::uint8_t alignment(HorizontalAlignment a) {
    switch (a) {
        case HorizontalAlignment::General: return LXW_ALIGN_NONE;
        case HorizontalAlignment::Left: return LXW_ALIGN_LEFT;
        case HorizontalAlignment::Center: return LXW_ALIGN_CENTER;
        case HorizontalAlignment::Right: return LXW_ALIGN_RIGHT;
        case HorizontalAlignment::Fill: return LXW_ALIGN_FILL;
        case HorizontalAlignment::Justify: return LXW_ALIGN_JUSTIFY;
        case HorizontalAlignment::CenterAcrossSelection: return LXW_ALIGN_CENTER_ACROSS;
        case HorizontalAlignment::Distributed: return LXW_ALIGN_DISTRIBUTED;
    }
    return LXW_ALIGN_NONE;
}

// The file writer takes 0 for "no colour"; black has its own value.
lxw_color_t fileColour(Rgb rgb) { return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : rgb; }

class Writer {
public:
    Writer(const Workbook& book, lxw_workbook* file) : book_(book), file_(file), formats_(book.styles().size()) {}

    void write() {
        for (const auto& sheet : book_.sheets()) {
            const bool active = sheet == book_.activeSheet();
            if (sheet->sheetType() == SheetType::Worksheet) {
                lxw_worksheet* ws = workbook_add_worksheet(file_, fileText(sheet->name()).c_str());
                if (!ws) fail("the sheet name \"" + sheet->name() + "\" was refused by the file writer");
                ++worksheetNumber_;
                writeWorksheet(static_cast<const Worksheet&>(*sheet), ws);
                if (active) worksheet_activate(ws);
            } else {
                lxw_chartsheet* cs = workbook_add_chartsheet(file_, fileText(sheet->name()).c_str());
                if (!cs) fail("the sheet name \"" + sheet->name() + "\" was refused by the file writer");
                charts_.add(file_, cs, static_cast<const ChartSheet&>(*sheet));
                if (active) chartsheet_activate(cs);
            }
        }
    }

    const ChartParts& charts() const { return charts_; }
    const TypedResults& typedResults() const { return typedResults_; }

private:
    [[noreturn]] void fail(const std::string& why) { throw AutomationError(why); }

    void check(lxw_error error, const Worksheet& sheet, std::uint32_t row, std::uint32_t column) {
        if (error != LXW_NO_ERROR)
            fail("sheet \"" + sheet.name() + "\", cell " + cellName({row, column}) + ": " + lxw_strerror(error));
    }

    lxw_format* format(std::uint32_t styleId) {
        if (styleId == StyleTable::kDefault) return nullptr;
        lxw_format*& f = formats_[styleId];
        if (f) return f;
        const CellStyle& s = book_.styles().style(styleId);
        f = workbook_add_format(file_);
        format_set_font_name(f, fileText(s.font.name).c_str());
        format_set_font_size(f, s.font.size);
        if (s.font.colour != kAutomaticColour) format_set_font_color(f, fileColour(s.font.colour));
        if (s.font.bold) format_set_bold(f);
        if (s.font.italic) format_set_italic(f);
        if (s.font.underline != Underline::None) format_set_underline(f, underlineStyle(s.font.underline));
        if (s.fill != kAutomaticColour) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_fg_color(f, fileColour(s.fill));
        }
        const auto side = [&](CellSide which, void (*setStyle)(lxw_format*, std::uint8_t),
                              void (*setColour)(lxw_format*, lxw_color_t)) {
            const BorderLine& line = s.border(which);
            if (!line.present()) return;
            setStyle(f, borderStyle(line.weight));
            if (line.colour != kAutomaticColour) setColour(f, fileColour(line.colour));
        };
        side(CellSide::Left, format_set_left, format_set_left_color);
        side(CellSide::Right, format_set_right, format_set_right_color);
        side(CellSide::Top, format_set_top, format_set_top_color);
        side(CellSide::Bottom, format_set_bottom, format_set_bottom_color);
        // The file keeps one line for both diagonals; the falling one wins when both differ.
        const BorderLine& down = s.border(CellSide::DiagonalDown);
        const BorderLine& up = s.border(CellSide::DiagonalUp);
        if (down.present() || up.present()) {
            format_set_diag_type(f, down.present() && up.present() ? LXW_DIAGONAL_BORDER_UP_DOWN
                                    : down.present()               ? LXW_DIAGONAL_BORDER_DOWN
                                                                   : LXW_DIAGONAL_BORDER_UP);
            const BorderLine& line = down.present() ? down : up;
            format_set_diag_border(f, borderStyle(line.weight));
            if (line.colour != kAutomaticColour) format_set_diag_color(f, fileColour(line.colour));
        }
        if (s.alignment != HorizontalAlignment::General) format_set_align(f, alignment(s.alignment));
        if (s.shrinkToFit) format_set_shrink(f);
        if (s.numberFormat != NumberFormatTable::kGeneral)
            format_set_num_format(f, fileText(book_.numberFormats().format(s.numberFormat).fileCode()).c_str());
        return f;
    }

    void writeWorksheet(const Worksheet& sheet, lxw_worksheet* ws) {
        for (const auto& [column, width] : sheet.columnWidths()) {
            const lxw_error e = worksheet_set_column(ws, static_cast<lxw_col_t>(column - 1),
                                                     static_cast<lxw_col_t>(column - 1), width, nullptr);
            if (e != LXW_NO_ERROR) fail("sheet \"" + sheet.name() + "\", column widths: " + lxw_strerror(e));
        }
        // The file writer streams rows in order; a merged area can be declared only while its
        // last row is the one being written (or still ahead).
        std::vector<CellRect> merges = sheet.merges();
        std::sort(merges.begin(), merges.end(),
                  [](const CellRect& a, const CellRect& b) { return a.last.row < b.last.row; });
        std::size_t nextMerge = 0;
        auto declareMergesBefore = [&](std::uint32_t row) {
            while (nextMerge < merges.size() && merges[nextMerge].last.row < row) {
                const CellRect& m = merges[nextMerge++];
                const lxw_error e = worksheet_merge_range(ws, m.first.row - 1, static_cast<lxw_col_t>(m.first.column - 1),
                                                          m.last.row - 1, static_cast<lxw_col_t>(m.last.column - 1), "",
                                                          nullptr);
                if (e != LXW_NO_ERROR)
                    fail("sheet \"" + sheet.name() + "\", merged area " + rangeName(m) + ": " + lxw_strerror(e));
            }
        };
        const CellStore& cells = sheet.cells();
        std::string formula;
        cells.forEachRow([&](std::uint32_t row, std::span<const Cell> rowCells) {
            declareMergesBefore(row);
            const lxw_row_t r = row - 1;
            for (const Cell& cell : rowCells) {
                const lxw_col_t c = cell.column0;
                lxw_format* f = format(cell.style);
                lxw_error e = LXW_NO_ERROR;
                switch (cell.kind) {
                    case CellKind::Blank:
                        if (f) e = worksheet_write_blank(ws, r, c, f);
                        break;
                    case CellKind::Number: e = worksheet_write_number(ws, r, c, cell.number, f); break;
                    case CellKind::Text:
                        e = worksheet_write_string(ws, r, c, fileText(book_.strings().text(cell.text)).c_str(), f);
                        break;
                    case CellKind::Boolean: e = worksheet_write_boolean(ws, r, c, cell.boolean ? 1 : 0, f); break;
                    case CellKind::Error: {
                        // An error value is stored as a formula of the error alone, with its result.
                        const std::string text(errorText(static_cast<CellError>(cell.error)));
                        e = worksheet_write_formula_str(ws, r, c, text.c_str(), f, text.c_str());
                        typedResults_.add(worksheetNumber_, {row, c + 1u}, TypedResults::Kind::Error);
                        break;
                    }
                    case CellKind::Formula: {
                        const CellValue& result = cells.formula(cell).cached;
                        formula = fileText(sheet.fileFormulaText({row, c + 1u}));
                        if (const double* n = std::get_if<double>(&result)) {
                            e = worksheet_write_formula_num(ws, r, c, formula.c_str(), f, *n);
                        } else if (const auto* s = std::get_if<std::string>(&result)) {
                            e = worksheet_write_formula_str(ws, r, c, formula.c_str(), f, fileText(*s).c_str());
                        } else if (const bool* b = std::get_if<bool>(&result)) {
                            e = worksheet_write_formula_str(ws, r, c, formula.c_str(), f, *b ? "1" : "0");
                            typedResults_.add(worksheetNumber_, {row, c + 1u}, TypedResults::Kind::Boolean);
                        } else if (const auto* error = std::get_if<CellError>(&result)) {
                            e = worksheet_write_formula_str(ws, r, c, formula.c_str(), f,
                                                            std::string(errorText(*error)).c_str());
                            typedResults_.add(worksheetNumber_, {row, c + 1u}, TypedResults::Kind::Error);
                        } else {
                            e = worksheet_write_formula(ws, r, c, formula.c_str(), f);
                        }
                        break;
                    }
                }
                check(e, sheet, row, c + 1u);
            }
        });
        declareMergesBefore(kMaxRows + 1);
    }

    const Workbook& book_;
    lxw_workbook* file_;
    std::vector<lxw_format*> formats_;
    ChartParts charts_;
    TypedResults typedResults_;
    std::size_t worksheetNumber_ = 0;  // of the worksheet being written, counted from 1
};

}  // namespace

std::string writeXlsx(const Workbook& book, const std::string& path) {
    const std::string target = targetPath(path);
    const std::size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);

    std::string temporary = folder + "/.~" + base + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0 && errno == ENAMETOOLONG)
        throw AutomationError("Cannot save \"" + framework::printable(target) +
                              "\": the file name is too long to save through a temporary file beside it");
    if (fd < 0)
        throw AutomationError("Cannot save \"" + target + "\": the folder \"" + folder +
                              "\" cannot be written: " + std::strerror(errno));
    // mkstemp makes the file private; the saved workbook gets the permissions of any new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    ::close(fd);

    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* file = workbook_new_opt(temporary.c_str(), &options);
    if (!file) {
        ::unlink(temporary.c_str());
        throw AutomationError("Cannot save \"" + target + "\": the file writer could not start");
    }
    Writer writer(book, file);
    try {
        writer.write();
    } catch (const AutomationError& e) {
        lxw_workbook_free(file);
        ::unlink(temporary.c_str());
        throw AutomationError("Cannot save \"" + target + "\": " + e.what());
    }
    const lxw_error closed = workbook_close(file);
    if (closed != LXW_NO_ERROR) {
        ::unlink(temporary.c_str());
        throw AutomationError("Cannot save \"" + target + "\": " + lxw_strerror(closed));
    }
    try {
        writer.charts().replaceIn(temporary);
    } catch (const AutomationError& e) {
        ::unlink(temporary.c_str());
        throw AutomationError("Cannot save \"" + target + "\": " + e.what());
    }
    try {
        writer.typedResults().applyTo(temporary);
    } catch (const AutomationError& e) {
        ::unlink(temporary.c_str());
        throw AutomationError("Cannot save \"" + target + "\": " + e.what());
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw AutomationError("Cannot save \"" + target + "\": " + std::strerror(error));
    }
    return target;
}

}  // namespace tabulix::spreadsheet
