#pragma once
// Colour values as automation callers send them: 0x00BBGGRR for an explicit colour (red in the
// lowest byte), or 0x800000nn for a system colour, which resolves to the standard desktop colour
// of that index (window text black, window white, button face light grey, ...).

#include <cstdint>

namespace tabulix::automation {

// The colour as 0xRRGGBB. Raises AutomationError for anything that is neither kind of colour
// value.
std::uint32_t RgbOfColourValue(std::int64_t value);

}  // namespace tabulix::automation
