// The interpreter's run contexts, apart from the interpreter: the mail jobs
// start runs too and need only these values.
#pragma once

namespace vsmr {

// Where a run comes from: handed unchanged to nested runs and built-ins,
// which may act differently for each.
inline constexpr int kContextLauncher = -1;     // the launcher box, `_onleave`, the new-mail event
inline constexpr int kContextEvent = -2;        // the other event commands, the mail launcher line
inline constexpr int kContextSecondStart = -3;  // the command line a second start hands over
inline constexpr int kContextMenu = -4;         // `_onrightdown` and the command menus
inline constexpr int kContextTimer = -5;        // the command timers
// A launcher button's runs (click or drop) carry its position, 0 to 63.
constexpr int ButtonContext(int position) { return position; }

}  // namespace vsmr
