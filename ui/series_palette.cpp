#include "ui/series_palette.h"

#include <array>
#include <cmath>

namespace tabulix::ui {

namespace {

constexpr std::array<QRgb, 20> kPicked = {
    0x1F77B4, 0xFF7F0E, 0x2CA02C, 0xD62728, 0x9467BD, 0x8C564B, 0xE377C2, 0x7F7F7F, 0xBCBD22, 0x17BECF,
    0x000080, 0x800000, 0x006D5B, 0xB8860B, 0x222222, 0xB000B0, 0x556B2F, 0xFF00FF, 0x1E90FF, 0xC71585,
};

}  // namespace

QColor seriesColour(int index) {
    if (index < 0) index = 0;
    if (index < static_cast<int>(kPicked.size())) return QColor::fromRgb(kPicked[static_cast<std::size_t>(index)]);
    const int k = index - static_cast<int>(kPicked.size());
    const double hue = std::fmod(k * 0.618033988749895 + 0.05, 1.0);
    static constexpr double kValues[] = {0.72, 0.50, 0.62};
    static constexpr double kSaturations[] = {0.90, 0.75, 0.60};
    return QColor::fromHsvF(static_cast<float>(hue), static_cast<float>(kSaturations[(k / 3) % 3]),
                            static_cast<float>(kValues[k % 3]));
}

}  // namespace tabulix::ui
