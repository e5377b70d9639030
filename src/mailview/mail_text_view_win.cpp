// The mail window's text view on the platform: links under a click, the
// context and format menus, vertical writing, the font dialog and saving the text.
#include <windows.h>
#include <commdlg.h>
#include <richedit.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <new>

#include "base/resource_ids.h"
#include "mailview/mail_link.h"
#include "mailview/mail_save.h"
#include "mailview/mail_window_win.h"

namespace vsmr {

namespace {

// The most characters of the view that are saved.
constexpr int kSaveTextLimit = 1048576;

// Up to `limit` characters of the view's text. Positions in the view count
// characters, so the text is read whole (two bytes a character at most) and cut.
std::string ViewText(HWND view, std::size_t limit) {
  const int chars = GetWindowTextLengthA(view);
  if (chars <= 0) return {};
  std::string text(static_cast<std::size_t>(chars) * 2 + 1, '\0');
  const int got = GetWindowTextA(view, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  text.resize(SjisByteOffset(text, limit));
  return text;
}

}  // namespace

std::string MailWindow::SelectLink() {
  CHARRANGE selection{};
  SendMessageA(text_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  if (selection.cpMin < 0 || selection.cpMax < 0 ||
      static_cast<std::size_t>(selection.cpMax) >= kLinkTextLimit) {
    return {};
  }
  const std::string text = ViewText(text_, kLinkTextLimit);
  const MailLink link = FindLinkAt(text, SjisByteOffset(text, selection.cpMin),
                                   SjisByteOffset(text, selection.cpMax));
  if (link.kind == kMailLinkNone) return {};
  CHARRANGE found{static_cast<LONG>(SjisCharCount(text, link.start)),
                  static_cast<LONG>(SjisCharCount(text, link.end))};
  SendMessageA(text_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&found));
  return link.target;
}

void MailWindow::OpenLink() {
  const std::string target = SelectLink();
  if (target.empty()) return;
  SetStatus(target);
  ShellExecuteA(hwnd_, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void MailWindow::PopupMenu(HMENU menu, POINT at) {
  if (menu) TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, hwnd_, nullptr);
}

void MailWindow::PopupResourceMenu(const char* name, POINT at) {
  MenuHandle menu(LoadMenuA(instance_, name));
  if (!menu) return;
  HMENU popup = GetSubMenu(menu.get(), 0);
  // The row menu offers 削除 only while deleting is allowed (a menu without
  // it is left alone).
  if (settings_->delete_mail_permission == 0) {
    EnableMenuItem(popup, IDM_MAIL_DELETE, MF_BYCOMMAND | MF_GRAYED);
  }
  PopupMenu(popup, at);
}

void MailWindow::ToggleVertical() {
  const bool on = (SendMessageA(text_, EM_GETOPTIONS, 0, 0) & ECO_VERTICAL) != 0;
  CheckMenuItem(format_menu_.get(), IDM_MAIL_VERTICAL, MF_BYCOMMAND | (on ? MF_UNCHECKED : MF_CHECKED));
  SendMessageA(text_, EM_SETOPTIONS, on ? ECOOP_AND : ECOOP_OR,
               on ? ~static_cast<LPARAM>(ECO_VERTICAL) : ECO_VERTICAL);
}

void MailWindow::ChooseViewerFont() {
  LOGFONTA choice = chosen_font_;
  CHOOSEFONTA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = hwnd_;
  dialog.lpLogFont = &choice;
  dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | (font_chosen_ ? CF_INITTOLOGFONTSTRUCT : 0);
  dialog.rgbColors = RGB(0, 0, 0);
  dialog.nFontType = SCREEN_FONTTYPE;
  if (!ChooseFontA(&dialog)) return;
  chosen_font_ = choice;
  font_chosen_ = true;
  InvalidateRect(hwnd_, nullptr, TRUE);
  text_font_.Reset(CreateFontIndirectA(&chosen_font_));
  SendMessageA(text_, WM_SETFONT, reinterpret_cast<WPARAM>(text_font_.get()), TRUE);
}

void MailWindow::SaveText() {
  const int chars = std::min(GetWindowTextLengthA(text_), kSaveTextLimit);
  // Two bytes a character at most, and the slack the block always had.
  const std::size_t size = static_cast<std::size_t>(std::max(chars, 0)) * 2 + 1024;
  std::unique_ptr<char[]> block(new (std::nothrow) char[size]());
  if (!block) {
    MessageBoxA(nullptr, "メモリを確保できません", "ERROR", MB_OK | MB_ICONERROR);
    return;
  }
  GetWindowTextA(text_, block.get(), static_cast<int>(size));
  std::string_view text(block.get());
  text = text.substr(0, SjisByteOffset(text, static_cast<std::size_t>(std::max(chars, 0))));

  char file[256] = {};
  char title[128] = {};
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = hwnd_;
  dialog.lpstrFilter = "テキスト文書\0*.txt\0All files(*.*)\0*.*\0";
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrFileTitle = title;
  dialog.nMaxFileTitle = sizeof title;
  dialog.lpstrTitle = "名前を付けて保存する";
  dialog.lpstrDefExt = "txt";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
  if (!GetSaveFileNameA(&dialog)) return;
  const std::string failure = SaveMailTextFile(file, text);
  if (!failure.empty()) MessageBoxA(hwnd_, failure.c_str(), "ERROR", MB_OK | MB_ICONERROR);
  SendMessageA(text_, EM_SETMODIFY, FALSE, 0);
}

}  // namespace vsmr
