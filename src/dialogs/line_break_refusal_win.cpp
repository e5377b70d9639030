// The item editors' refusal of TABs and line breaks (see line_break_refusal_win.h).
#include "dialogs/line_break_refusal_win.h"

#include <string>

#include "dialogs/editor_rules.h"

namespace vsmr {

bool RefuseLineBreaks(HWND dialog, std::initializer_list<int> ids) {
  for (int id : ids) {
    HWND field = GetDlgItem(dialog, id);
    if (!field) continue;
    // The whole text, however it got there: a length may count characters.
    const int length = GetWindowTextLengthA(field);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) * 2 + 2, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(field, text.data(), static_cast<int>(text.size()))));
    if (!HasLineBreakingChar(text)) continue;
    MessageBoxA(dialog, std::string(kLineBreakWarning).c_str(), "注意", MB_OK | MB_ICONWARNING);
    SetFocus(field);
    return true;
  }
  return false;
}

}  // namespace vsmr
