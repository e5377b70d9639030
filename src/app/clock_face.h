// What the clock face shows: the time, the status word or "Shutdown", and in
// which colour.
#pragma once
#include <cstdint>
#include <string_view>

#include "base/fixed_text.h"

namespace vsmr {

// A Windows colour value: red in the low byte, then green, then blue.
using ColorRef = std::uint32_t;
constexpr ColorRef MakeColor(int r, int g, int b) {
  return static_cast<ColorRef>(r) | (static_cast<ColorRef>(g) << 8) |
         (static_cast<ColorRef>(b) << 16);
}
inline constexpr ColorRef kStatusColor = MakeColor(255, 255, 0);
inline constexpr ColorRef kHourColor = MakeColor(120, 142, 255);

struct ClockTime {
  int hour = 0;
  int minute = 0;
  int second = 0;
};

struct ClockText {
  FixedText<16> text;
  ColorRef color = 0;
};

// First match wins: the status word in yellow; "Shutdown" in yellow while the
// shutdown countdown runs; the time in light blue at minute 0, seconds 0 and 1;
// otherwise the time in `clock_color`.
ClockText ChooseClockText(std::string_view status_word, bool shutdown_active, ClockTime now,
                          ColorRef clock_color);

}  // namespace vsmr
