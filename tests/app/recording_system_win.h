// A stand-in for the built-ins' blocking and session calls in window tests:
// answers boxes from a list, records what the popup menu held and where, and
// can choose one of its entries as a user would.
#pragma once
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "app/system_actions_win.h"

namespace vsmr {

class RecordingSystem : public SystemActions {
 public:
  int ShowMessageBox(HWND, const char* text, const char* caption, UINT style) override {
    boxes.push_back(std::string(caption) + "|" + text + "|" + std::to_string(style));
    if (answers.empty()) return (style & MB_YESNO) ? IDYES : IDOK;
    int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void PlaySoundFile(const char* path) override { sounds.push_back(path); }
  std::string ChooseFile(HWND, const char*) override { return {}; }
  void TrackMenu(HMENU menu, int x, int y, HWND owner) override {
    menu_at = {x, y};
    menu_items.clear();
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      char label[256] = {};
      GetMenuStringA(menu, static_cast<UINT>(i), label, sizeof label, MF_BYPOSITION);
      HMENU sub = GetSubMenu(menu, i);
      UINT id = sub ? GetMenuItemID(sub, 0) : GetMenuItemID(menu, i);
      menu_items.push_back(std::to_string(static_cast<int>(id)) + (sub ? ">" : " ") + label);
    }
    if (choice != 0) PostMessageA(owner, WM_COMMAND, static_cast<WPARAM>(choice), 0);
  }
  void EndSession(UINT flags) override { ended.push_back(flags); }
  void Suspend() override { ++suspended; }

  std::deque<int> answers;
  std::vector<std::string> boxes;
  std::vector<std::string> sounds;
  POINT menu_at{-1, -1};
  std::vector<std::string> menu_items;  // "id label", "inner-id>label" for a cascade, "0 " for a separator
  int choice = 0;                       // the entry chosen when a menu is tracked
  std::vector<UINT> ended;
  int suspended = 0;
};

}  // namespace vsmr
