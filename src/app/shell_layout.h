// Geometry of the clock strip: widths and positions of its parts, the grip strip
// and toggle spot, edge snapping while moving, and where a file drop lands.
#pragma once

#include "base/point.h"

namespace vsmr {

inline constexpr int kStripHeight = 22;
inline constexpr int kClockFaceWidth = 74;
inline constexpr int kButtonSize = 22;
inline constexpr int kSmallButtonWidth = 14;
inline constexpr int kCloseButtonHeight = 12;
inline constexpr int kTrayButtonHeight = 10;
inline constexpr int kMaxButtons = 64;
inline constexpr int kSnapDistance = 8;

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// What decides the strip's width: the launcher box (when open, the width it
// added) and the number of launcher buttons.
struct ShellLayout {
  bool launcher_open = false;
  int opened_length = 0;  // the launcher length at the moment the box opened
  int button_count = 0;   // 0..64

  int Width() const;
  int FirstButtonX() const;
  int SmallButtonX() const { return Width() - kSmallButtonWidth; }
  int ButtonX(int position) const { return FirstButtonX() + kButtonSize * position; }
};

// Caption area for the system's own dragging: the left 18 columns of the clock
// face except the launcher toggle spot at its top left.
bool IsGripStrip(Point client);
// The toggle spot that opens and closes the launcher box on a left click.
bool IsToggleSpot(Point client);
// Where a right click may open the main popup menu (the clock text area).
bool IsClockTextArea(Point client);

// The top-left corner for a window of `width` x 22 being moved: pointer at
// `pointer` (screen), grabbed at `grab` (client). Edges within 8 pixels of the
// work area's right/bottom edge, or of screen 0, snap flush; right and bottom win.
Point SnapWindowPosition(Point pointer, Point grab, int width, const Rect& work_area);

// Where a drop at client x lands.
struct DropTarget {
  enum class Kind { kClipboard, kLauncherBox, kButton, kNothing };
  Kind kind = Kind::kNothing;
  int button = -1;  // the button position for kButton
};
DropTarget ClassifyDrop(int client_x, const ShellLayout& layout);

}  // namespace vsmr
