// The mail window's layout table and list-height clamps.
#include "mailview/mail_layout.h"

#include <algorithm>
#include <cstdint>

#include "base/resource_ids.h"

namespace vsmr {

namespace {

constexpr int kSmallestList = 40;
constexpr int kHiddenBelow = 20;
constexpr int kBelowList = 23;  // room the buttons and status line keep under the list
// The pointer's y as an unsigned 16-bit number: above this it lies above the
// client area (a negative y) or far below it.
constexpr std::uint16_t kFarPointer = 2000;

}  // namespace

std::array<MailControlPlace, kMailControlCount> LayoutMailWindow(int w, int h, int s) {
  return {{
      {IDC_MAIL_LIST, 0, 0, w, s},
      {IDC_MAIL_TEXT, 0, s + 3, w, h - s - 26},
      {IDC_MAIL_STATUS, 5, h - 16, 220, 13},
      {IDC_MAIL_FORMAT, w - 319, h - 21, 51, 21},
      {IDC_MAIL_SAVE, w - 267, h - 21, 90, 21},
      {1, w - 72, h - 21, 70, 21},
  }};
}

int OpeningListHeight(int saved, int client_height) {
  if (saved < kSmallestList) return kSmallestList;
  if (saved > client_height - kBelowList) return client_height - kBelowList;
  return saved;
}

bool InSplitterBand(int y, int s) { return y >= s && y <= s + 3; }

int DraggedListHeight(int s, int drag_start, int y, int client_height) {
  const int candidate = s + (y - drag_start);
  if (candidate < kHiddenBelow || static_cast<std::uint16_t>(y) > kFarPointer) return 0;
  if (candidate < kSmallestList) return kSmallestList;
  return std::min(candidate, client_height - kBelowList);
}

int SmallestMailWindowHeight(int s) { return s + 50; }

}  // namespace vsmr
