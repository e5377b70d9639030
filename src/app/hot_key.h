// The launcher hot key as stored (low byte the virtual key, high byte 1 Shift,
// 2 Control, 4 Alt, 8 extended) mapped to what RegisterHotKey wants.
#pragma once
#include <cstdint>

namespace vsmr {

// RegisterHotKey's modifier flags (the Win32 MOD_* values).
inline constexpr unsigned kModAlt = 0x0001;
inline constexpr unsigned kModControl = 0x0002;
inline constexpr unsigned kModShift = 0x0004;

struct HotKeyBinding {
  unsigned virtual_key = 0;
  unsigned modifiers = 0;
};

// The extended-key flag (0x08) is ignored.
HotKeyBinding MapHotKey(std::uint16_t stored);

}  // namespace vsmr
