#pragma once
// Colour values as automation callers send them: 0x00BBGGRR for an explicit colour (red in the
// lowest byte), or 0x800000nn for a system colour, which resolves to the standard desktop colour
// of that index (window text black, window white, button face light grey, ...).

#include <cstdint>

#include "spreadsheet/cells/cell_style.h"

namespace tabulix::spreadsheet {

// Raises automation::AutomationError for anything that is neither kind of colour value.
Rgb rgbFromColourValue(std::int64_t value);
// The explicit colour value (0x00BBGGRR) of an RGB colour.
std::int32_t colourValueFromRgb(Rgb rgb);

}  // namespace tabulix::spreadsheet
