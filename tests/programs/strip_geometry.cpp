// strip_geometry [X Y]...: prints the clock strip's geometry as the program computes
// it, one "NAME value..." line each, under the names tests/e2e/geometry.py uses; then,
// for each client point given, "POINT X Y" and the areas of the clock face holding it.
// Areas come from the hit tests themselves, so a changed rule shows as well as a
// changed constant.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "app/shell_layout.h"
#include "settings/settings_table.h"

namespace {

using vsmr::Point;

// The launcher box's length when the settings file does not set it.
int DefaultLauncherLength() {
  for (const vsmr::SettingRow& row : vsmr::SettingsTable()) {
    if (std::string_view(row.key) == "CommandLineLauncherLength") return row.number_default;
  }
  return -1;
}

// The smallest box (left, top, right, bottom; right and bottom exclusive) holding every
// point of the strip's height that `inside` accepts, scanning the clock face.
template <typename Test>
void PrintArea(const char* name, Test inside) {
  int left = -1, top = -1, right = -1, bottom = -1;
  for (int y = 0; y < vsmr::kStripHeight; ++y) {
    for (int x = 0; x < vsmr::kClockFaceWidth; ++x) {
      if (!inside(Point{x, y})) continue;
      if (left < 0 || x < left) left = x;
      if (top < 0) top = y;
      if (x + 1 > right) right = x + 1;
      bottom = y + 1;
    }
  }
  std::printf("%s %d %d %d %d\n", name, left, top, right, bottom);
}

}  // namespace

int main(int argc, char** argv) {
  std::printf("STRIP_HEIGHT %d\n", vsmr::kStripHeight);
  std::printf("CLOCK_FACE_WIDTH %d\n", vsmr::kClockFaceWidth);
  std::printf("BUTTON_SIZE %d\n", vsmr::kButtonSize);
  std::printf("SMALL_BUTTON_WIDTH %d\n", vsmr::kSmallButtonWidth);
  std::printf("CLOSE_BUTTON_HEIGHT %d\n", vsmr::kCloseButtonHeight);
  std::printf("MAX_BUTTONS %d\n", vsmr::kMaxButtons);
  std::printf("SNAP_DISTANCE %d\n", vsmr::kSnapDistance);
  const int launcher = DefaultLauncherLength();
  std::printf("DEFAULT_LAUNCHER_LENGTH %d\n", launcher);
  std::printf("CLOSED %d\n", vsmr::ShellLayout{}.Width());
  std::printf("OPEN %d\n", vsmr::ShellLayout{.launcher_open = true, .opened_length = launcher}.Width());
  // Three buttons with the box open: where the second one starts, and the width.
  const vsmr::ShellLayout three{.launcher_open = true, .opened_length = launcher, .button_count = 3};
  std::printf("OPEN_THREE_BUTTONS %d %d\n", three.ButtonX(1), three.Width());
  PrintArea("CLOCK_TEXT", vsmr::IsClockTextArea);
  for (int i = 1; i + 1 < argc; i += 2) {
    const Point p{std::atoi(argv[i]), std::atoi(argv[i + 1])};
    std::printf("POINT %d %d%s%s%s\n", p.x, p.y, vsmr::IsToggleSpot(p) ? " toggle" : "",
                vsmr::IsGripStrip(p) ? " grip" : "", vsmr::IsClockTextArea(p) ? " clock_text" : "");
  }
  return 0;
}
