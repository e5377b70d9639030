// Mouse input on the clock strip: the grip strip, moving with edge snapping,
// left and right clicks, and files dropped on the window.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/drop_list.h"
#include "app/main_window_win.h"

namespace vsmr {

LRESULT MainWindow::OnHitTest(WPARAM wp, LPARAM lp) {
  LRESULT hit = DefWindowProcA(hwnd_, WM_NCHITTEST, wp, lp);
  POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  ScreenToClient(hwnd_, &p);
  if (IsGripStrip(Point{p.x, p.y})) return HTCAPTION;
  return hit;
}

void MainWindow::OnEnterMove() {
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(hwnd_, &p);
  state_.grab_offset = Point{p.x, p.y};
}

void MainWindow::OnMoving(RECT* proposed) {
  if (!proposed) return;
  POINT cursor;
  GetCursorPos(&cursor);
  RECT work;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return;
  int width = state_.layout.Width();
  Point at = SnapWindowPosition(Point{cursor.x, cursor.y}, state_.grab_offset, width,
                                Rect{work.left, work.top, work.right, work.bottom});
  proposed->left = at.x;
  proposed->top = at.y;
  proposed->right = at.x + width;
  proposed->bottom = at.y + kStripHeight;
}

void MainWindow::OnLeftDown(Point client) {
  if (state_.shutdown_active) {
    KillTimer(hwnd_, IDT_SHUTDOWN);
    state_.shutdown_active = false;
  }
  if (IsToggleSpot(client)) {
    SendMessageA(hwnd_, WM_COMMAND, IDM_LAUNCHER_TOGGLE, 0);
    return;
  }
  if (HWND mail = mail_jobs_.WindowHandle()) {
    SetWindowPos(mail, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  // What the start-up had to say about the files, while its code still shows.
  const std::string notice = settings_sequence_.TakeFilesNotice();
  state_.status.Clear();
  RECT face{0, 0, kClockFaceWidth, kStripHeight};
  InvalidateRect(hwnd_, &face, FALSE);
  if (!notice.empty()) {
    system_.ShowMessageBox(hwnd_, notice.c_str(), "注意", MB_OK | MB_ICONWARNING);
  }
}

void MainWindow::OnRightDown(Point client) {
  if (RunEvent(Event::kRightDown) != 0) return;
  if (IsClockTextArea(client) && !state_.LeaveRoomMode()) ShowMainMenu(client);
}

void MainWindow::ShowMainMenu(Point client) {
  if (!main_menu_.get()) return;
  POINT p{client.x, client.y};
  ClientToScreen(hwnd_, &p);
  SetForegroundWindow(hwnd_);
  TrackPopupMenu(GetSubMenu(main_menu_.get(), 0), TPM_LEFTALIGN | TPM_TOPALIGN, p.x, p.y, 0,
                 hwnd_, nullptr);
}

void MainWindow::OnDropFiles(HDROP drop) {
  if (state_.LeaveRoomMode()) {
    DragFinish(drop);
    return;
  }
  POINT at{};
  DragQueryPoint(drop, &at);
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<std::string> names;
  names.reserve(count);
  for (UINT i = 0; i < count; ++i) {
    UINT length = DragQueryFileA(drop, i, nullptr, 0);
    std::string name(length + 1, '\0');
    UINT got = DragQueryFileA(drop, i, name.data(), length + 1);
    name.resize(got);
    names.push_back(std::move(name));
  }
  DragFinish(drop);
  std::string list = BuildDropList(names);

  DropTarget target = ClassifyDrop(at.x, state_.layout);
  switch (target.kind) {
    case DropTarget::Kind::kClipboard:
      PutOnClipboard(ClipboardDropText(list));
      break;
    case DropTarget::Kind::kLauncherBox:
      launcher_.AppendText(list);
      break;
    case DropTarget::Kind::kButton:
      DropOnButtons(at.x, list);
      break;
    case DropTarget::Kind::kNothing:
      break;
  }
}

void MainWindow::PutOnClipboard(std::string_view text) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!memory) return;
  if (auto* bytes = static_cast<char*>(GlobalLock(memory))) {
    memcpy(bytes, text.data(), text.size());
    bytes[text.size()] = '\0';
    GlobalUnlock(memory);
  }
  if (!OpenClipboard(hwnd_)) {
    GlobalFree(memory);
    return;
  }
  EmptyClipboard();
  if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);  // else the clipboard owns it
  CloseClipboard();
}

}  // namespace vsmr
