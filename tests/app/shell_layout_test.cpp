// The clock strip's geometry: widths, grip strip and toggle spot, edge
// snapping, and where drops land.
#include "app/shell_layout.h"

#include <gtest/gtest.h>

namespace vsmr {
namespace {

TEST(ShellLayout, WidthFollowsLauncherBoxAndButtons) {
  ShellLayout layout;
  EXPECT_EQ(layout.Width(), 88);
  EXPECT_EQ(layout.FirstButtonX(), 74);
  layout.button_count = 3;
  EXPECT_EQ(layout.Width(), 88 + 66);
  EXPECT_EQ(layout.SmallButtonX(), 88 + 66 - 14);
  layout.launcher_open = true;
  layout.opened_length = 100;
  EXPECT_EQ(layout.Width(), 188 + 66);
  EXPECT_EQ(layout.FirstButtonX(), 174);
  EXPECT_EQ(layout.ButtonX(2), 174 + 44);
  // Closing removes the width the box had when it opened.
  layout.launcher_open = false;
  EXPECT_EQ(layout.Width(), 88 + 66);
}

TEST(ShellLayout, GripStripAndToggleSpot) {
  struct Row {
    const char* name;
    Point p;
    bool grip, toggle, text_area;
  } rows[] = {
      {"toggle spot corner", {0, 0}, false, true, false},
      {"toggle spot bottom right", {9, 8}, false, true, false},
      {"left bars below the spot", {0, 9}, true, true, false},
      {"bottom of left bars", {5, 21}, true, false, false},
      {"column 10 top (right bars)", {10, 0}, true, true, false},
      {"right bars", {17, 4}, true, false, false},
      {"clock text starts", {18, 4}, false, false, true},
      {"last clock column", {73, 10}, false, false, true},
      {"launcher box", {74, 10}, false, false, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(IsGripStrip(r.p), r.grip);
    EXPECT_EQ(IsToggleSpot(r.p), r.toggle);
    EXPECT_EQ(IsClockTextArea(r.p), r.text_area);
  }
}

TEST(ShellLayout, SnappingToWorkAreaEdges) {
  const Rect work{0, 0, 1024, 740};  // a task bar of 28 pixels at the bottom
  const Point grab{30, 10};
  struct Row {
    const char* name;
    Point pointer;
    int width;
    Point expected;
  } rows[] = {
      {"free placement", {500, 300}, 88, {470, 290}},
      {"right edge 8 px inside snaps", {1024 - 88 - 8 + 30, 300}, 88, {936, 290}},
      {"right edge 8 px outside snaps", {1024 - 88 + 8 + 30, 300}, 88, {936, 290}},
      {"right edge 9 px inside stays", {1024 - 88 - 9 + 30, 300}, 88, {927, 290}},
      {"left edge at 8 snaps to 0", {38, 300}, 88, {0, 290}},
      {"left edge at -8 snaps to 0", {22, 300}, 88, {0, 290}},
      {"left edge at 9 stays", {39, 300}, 88, {9, 290}},
      {"bottom snaps above the task bar", {500, 740 - 22 - 5 + 10}, 88, {470, 718}},
      {"top snaps", {500, 16}, 88, {470, 0}},
      {"wide window near both edges: right wins", {30 + 4, 300}, 1020, {4, 290}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Point got = SnapWindowPosition(r.pointer, grab, r.width, work);
    EXPECT_EQ(got.x, r.expected.x);
    EXPECT_EQ(got.y, r.expected.y);
  }
  // A work area that does not start at 0 (task bar on the left): near screen 0
  // the left edge goes to the work area's left edge.
  Point got = SnapWindowPosition(Point{33, 300}, grab, 88, Rect{60, 0, 1024, 768});
  EXPECT_EQ(got.x, 60);
}

TEST(ShellLayout, DropTargets) {
  ShellLayout layout;
  layout.launcher_open = true;
  layout.opened_length = 100;
  layout.button_count = 2;  // buttons at 174-195 and 196-217, small buttons at 218
  struct Row {
    const char* name;
    int x;
    DropTarget::Kind kind;
    int button;
  } rows[] = {
      {"clock face", 0, DropTarget::Kind::kClipboard, -1},
      {"last clock column", 73, DropTarget::Kind::kClipboard, -1},
      {"launcher box start", 74, DropTarget::Kind::kLauncherBox, -1},
      {"launcher box end", 173, DropTarget::Kind::kLauncherBox, -1},
      {"first button", 174, DropTarget::Kind::kButton, 0},
      {"rightmost column of first button", 195, DropTarget::Kind::kButton, 0},
      {"second button", 196, DropTarget::Kind::kButton, 1},
      {"last button column", 217, DropTarget::Kind::kButton, 1},
      {"small-button column", 218, DropTarget::Kind::kNothing, -1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    DropTarget t = ClassifyDrop(r.x, layout);
    EXPECT_EQ(t.kind, r.kind);
    EXPECT_EQ(t.button, r.button);
  }
  layout.launcher_open = false;
  EXPECT_EQ(ClassifyDrop(80, layout).kind, DropTarget::Kind::kButton);
}

}  // namespace
}  // namespace vsmr
