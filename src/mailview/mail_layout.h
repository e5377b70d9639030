// Where the mail window's controls go for a client size and list height, and
// the rules that keep the list height (the splitter position) sensible.
#pragma once
#include <array>

namespace vsmr {

struct MailControlPlace {
  int id;
  int x, y, width, height;
};

inline constexpr int kMailControlCount = 6;
inline constexpr int kMailSmallestWidth = 560;

// Every control of the window, placed for client width `w`, height `h` and list height `s`.
std::array<MailControlPlace, kMailControlCount> LayoutMailWindow(int w, int h, int s);

// The list height the window opens with: the saved one, kept between 40 and
// the client height less 23.
int OpeningListHeight(int saved, int client_height);

// True when client row `y` lies in the band between the list and the text view.
bool InSplitterBand(int y, int s);

// The list height a splitter drag gives: S moved by the pointer's travel from
// `drag_start` to `y`. Below 20, or with the pointer far outside the client area,
// the list is hidden (0); otherwise it stays between 40 and the client height less 23.
int DraggedListHeight(int s, int drag_start, int y, int client_height);

// The smallest window height the user can size for list height `s`.
int SmallestMailWindowHeight(int s);

}  // namespace vsmr
