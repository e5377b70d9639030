// Hot key mapping (see hot_key.h).
#include "app/hot_key.h"

namespace vsmr {

HotKeyBinding MapHotKey(std::uint16_t stored) {
  HotKeyBinding b;
  b.virtual_key = stored & 0xFFu;
  unsigned flags = (stored >> 8) & 0xFFu;
  if (flags & 0x04) b.modifiers |= kModAlt;
  if (flags & 0x02) b.modifiers |= kModControl;
  if (flags & 0x01) b.modifiers |= kModShift;
  return b;
}

}  // namespace vsmr
