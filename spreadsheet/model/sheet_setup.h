#pragma once
// What a worksheet keeps beside its cells for showing and printing it: the panes of the window
// over it and its page set-up. Plain values; the worksheet checks them when they are set.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "spreadsheet/cells/cell_address.h"

namespace tabulix::spreadsheet {

// The window's view of a worksheet: the first row and column shown, the rows and columns of the
// top and left panes of a split (counted from the first shown), and whether the split is frozen.
struct Panes {
    CellAddress topLeft;
    std::uint32_t splitRows = 0;
    std::uint32_t splitColumns = 0;
    bool frozen = false;

    bool isSplit() const { return splitRows != 0 || splitColumns != 0; }
    // The first cell of the bottom right pane, the one that scrolls both ways.
    CellAddress scrollingCell() const { return {topLeft.row + splitRows, topLeft.column + splitColumns}; }
    bool operator==(const Panes&) const = default;
};

enum class PageOrientation { Default, Portrait, Landscape };

// How a worksheet prints. Margins in points, as automation gives them.
struct PageLayout {
    static constexpr double kSideMargin = 0.7 * 72;  // the applications' defaults
    static constexpr double kEndMargin = 0.75 * 72;
    static constexpr double kHeaderFooterMargin = 0.3 * 72;
    static constexpr std::uint32_t kMaxZoom = 400;
    static constexpr std::uint32_t kMinZoom = 10;
    static constexpr std::uint32_t kMaxFitPages = 32767;
    // Header and footer texts: the three together, with their codes, at most this many characters.
    static constexpr std::size_t kMaxHeaderFooterLength = 255;

    double leftMargin = kSideMargin;
    double rightMargin = kSideMargin;
    double topMargin = kEndMargin;
    double bottomMargin = kEndMargin;
    double headerMargin = kHeaderFooterMargin;
    double footerMargin = kHeaderFooterMargin;
    PageOrientation orientation = PageOrientation::Default;
    std::uint32_t paperSize = 0;  // the printer's own when 0
    // A percentage, or nothing when the pages are fitted to fitWide x fitTall pages instead.
    std::optional<std::uint32_t> zoom = 100;
    std::uint32_t fitWide = 1;  // 0: as many pages as it takes
    std::uint32_t fitTall = 1;
    // Rows printed at the top of every page (first, last), 0 for none.
    std::uint32_t titleFirstRow = 0;
    std::uint32_t titleLastRow = 0;
    // Left, centre and right parts, with the codes of header and footer texts (&P, &N, &D...).
    std::array<std::string, 3> header;
    std::array<std::string, 3> footer;

    bool hasDefaultMargins() const {
        return leftMargin == kSideMargin && rightMargin == kSideMargin && topMargin == kEndMargin &&
               bottomMargin == kEndMargin && headerMargin == kHeaderFooterMargin &&
               footerMargin == kHeaderFooterMargin;
    }
    bool hasTitleRows() const { return titleFirstRow != 0; }
};

}  // namespace tabulix::spreadsheet
