#include "automation/colour_value.h"

#include <cstdio>
#include <iterator>
#include <string>

#include "automation/automation_error.h"

namespace tabulix::automation {

namespace {

constexpr std::uint32_t kNone = 0xFF000000u;  // an index that names no fixed colour

// The desktop's standard system colours by index (0xRRGGBB).
constexpr std::uint32_t kSystemColours[] = {
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x0078D7, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xFFFFE1, kNone,    0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0,
};

[[noreturn]] void refuse(std::int64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value) & 0xFFFFFFFFull);
    throw AutomationError(std::string(text) + " is not a colour value (0x00BBGGRR or a system colour)");
}

}  // namespace

std::uint32_t RgbOfColourValue(std::int64_t value) {
    if (value < -0x80000000ll || value > 0xFFFFFFFFll) refuse(value);
    const auto bits = static_cast<std::uint32_t>(value);
    if ((bits & 0xFF000000u) == 0) return ((bits & 0xFF) << 16) | (bits & 0xFF00) | ((bits >> 16) & 0xFF);
    if ((bits & 0xFF000000u) == 0x80000000u) {
        const std::uint32_t index = bits & 0x00FFFFFFu;
        if (index < std::size(kSystemColours) && kSystemColours[index] != kNone) return kSystemColours[index];
    }
    refuse(value);
}

}  // namespace tabulix::automation
