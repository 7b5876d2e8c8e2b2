#pragma once
// The thirteen kinds of chart the chart wizard builds, each selected by its gallery code, and
// what each kind has: a third dimension, axes, a series (depth) axis.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tabulix::spreadsheet {

enum class ChartKind {
    Column,
    Column3D,
    Line,
    Line3D,
    Bar,
    Bar3D,
    Surface,
    Surface3D,
    Pie,
    Pie3D,
    Area,
    Area3D,
    Radar,
};

// The kind a gallery code selects (3 -> Column, -4100 -> Column3D, ...), nothing for any other code.
std::optional<ChartKind> chartKindOfGallery(std::int32_t gallery);
std::int32_t galleryCode(ChartKind kind);
// Every gallery code, in the order of ChartKind.
std::span<const std::int32_t> galleryCodes();
// "xlColumn", "xl3DColumn", ...: the gallery's own names, for messages.
std::string_view galleryName(ChartKind kind);

// Pies have no axes; the other kinds have a category and a value axis.
bool hasAxes(ChartKind kind);
// The kinds drawn with depth that have a third, series axis: 3-D columns, lines and areas,
// and both surfaces (a flat surface is its 3-D form seen from above).
bool hasSeriesAxis(ChartKind kind);
bool isThreeD(ChartKind kind);

}  // namespace tabulix::spreadsheet
