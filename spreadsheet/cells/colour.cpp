#include "spreadsheet/cells/colour.h"

#include "automation/colour_value.h"

namespace tabulix::spreadsheet {

Rgb rgbFromColourValue(std::int64_t value) { return automation::RgbOfColourValue(value); }

std::int32_t colourValueFromRgb(Rgb rgb) {
    if (rgb == kAutomaticColour) return 0;
    return static_cast<std::int32_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

}  // namespace tabulix::spreadsheet
