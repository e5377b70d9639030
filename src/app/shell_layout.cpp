// Geometry of the clock strip (see shell_layout.h).
#include "app/shell_layout.h"

namespace vsmr {

int ShellLayout::Width() const {
  return kClockFaceWidth + (launcher_open ? opened_length : 0) + kButtonSize * button_count +
         kSmallButtonWidth;
}

int ShellLayout::FirstButtonX() const {
  return kClockFaceWidth + (launcher_open ? opened_length : 0);
}

bool IsGripStrip(Point p) {
  return (p.x >= 0 && p.x <= 10 && p.y >= 9 && p.y <= 22) ||
         (p.x >= 10 && p.x <= 17 && p.y >= 0 && p.y <= 22);
}

bool IsToggleSpot(Point p) { return p.x >= 0 && p.x <= 10 && p.y >= 0 && p.y <= 9; }

bool IsClockTextArea(Point p) { return p.x >= 18 && p.x <= 73; }

namespace {

// One axis of the snapping rule. The far edge (right or bottom) is tested first;
// the near test is against screen coordinate 0, the snap goes to the work area.
int SnapAxis(int proposed, int size, int work_start, int work_end) {
  int far_edge = proposed + size;
  if (far_edge >= work_end - kSnapDistance && far_edge <= work_end + kSnapDistance) {
    return work_end - size;
  }
  if (proposed >= -kSnapDistance && proposed <= kSnapDistance) return work_start;
  return proposed;
}

}  // namespace

Point SnapWindowPosition(Point pointer, Point grab, int width, const Rect& work) {
  return Point{SnapAxis(pointer.x - grab.x, width, work.left, work.right),
               SnapAxis(pointer.y - grab.y, kStripHeight, work.top, work.bottom)};
}

DropTarget ClassifyDrop(int x, const ShellLayout& layout) {
  if (x <= kClockFaceWidth - 1) return {DropTarget::Kind::kClipboard, -1};
  if (layout.launcher_open && x >= kClockFaceWidth &&
      x <= layout.opened_length + kClockFaceWidth - 1) {
    return {DropTarget::Kind::kLauncherBox, -1};
  }
  int first = layout.FirstButtonX();
  if (x >= first && x <= layout.Width() - 15) {
    int position = (x - first) / kButtonSize;
    // The range check above admits exactly the button columns; guard anyway.
    if (position < layout.button_count) return {DropTarget::Kind::kButton, position};
  }
  return {};
}

}  // namespace vsmr
