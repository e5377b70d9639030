// Reading a dialog control's whole text (see dialog_text_win.h).
#include "dialogs/dialog_text_win.h"

namespace vsmr {

std::string DialogItemText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) return {};
  // The length may count characters rather than bytes: room for two bytes each.
  const int length = GetWindowTextLengthA(control);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) * 2 + 2, '\0');
  const int got = GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

}  // namespace vsmr
