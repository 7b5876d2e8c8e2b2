#include "spreadsheet/model/chart_kind.h"

#include <array>
#include <cstddef>

namespace tabulix::spreadsheet {

namespace {

constexpr std::array<std::int32_t, 13> kGallery = {3, -4100, 4, -4101, 2, -4099, 83, -4103, 5, -4102, 1, -4098, -4151};
constexpr std::array<std::string_view, 13> kNames = {
    "xlColumn", "xl3DColumn", "xlLine", "xl3DLine", "xlBar", "xl3DBar", "xlSurface",
    "xl3DSurface", "xlPie", "xl3DPie", "xlArea", "xl3DArea", "xlRadar",
};

std::size_t indexOf(ChartKind kind) { return static_cast<std::size_t>(kind); }

}  // namespace

std::optional<ChartKind> chartKindOfGallery(std::int32_t gallery) {
    for (std::size_t i = 0; i < kGallery.size(); ++i)
        if (kGallery[i] == gallery) return static_cast<ChartKind>(i);
    return std::nullopt;
}

std::int32_t galleryCode(ChartKind kind) { return kGallery[indexOf(kind)]; }

std::span<const std::int32_t> galleryCodes() { return kGallery; }

std::string_view galleryName(ChartKind kind) { return kNames[indexOf(kind)]; }

bool hasAxes(ChartKind kind) { return kind != ChartKind::Pie && kind != ChartKind::Pie3D; }

bool hasSeriesAxis(ChartKind kind) {
    switch (kind) {
        case ChartKind::Column3D:
        case ChartKind::Line3D:
        case ChartKind::Area3D:
        case ChartKind::Surface:
        case ChartKind::Surface3D: return true;
        default: return false;
    }
}

bool isThreeD(ChartKind kind) {
    switch (kind) {
        case ChartKind::Column3D:
        case ChartKind::Line3D:
        case ChartKind::Bar3D:
        case ChartKind::Surface3D:
        case ChartKind::Pie3D:
        case ChartKind::Area3D: return true;
        default: return false;
    }
}

}  // namespace tabulix::spreadsheet
