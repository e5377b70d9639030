// The launcher box's controls (see launcher_box_win.h).
#include "app/launcher_box_win.h"

#include <imm.h>
#include <shlguid.h>

#include "app/completion_enum_win.h"
#include "base/resource_ids.h"
#include "command/interpreter.h"

namespace vsmr {

namespace {

constexpr char kBoxProperty[] = "VesmiraLauncherBox";
constexpr int kBoxHeight = 120;

}  // namespace

bool LauncherBox::Open(HWND owner, HINSTANCE instance, LauncherBoxOptions options) {
  Close();
  owner_ = owner;
  keep_open_ = options.keep_open;
  combo_ = CreateWindowExA(0, "COMBOBOX", "",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL |
                               CBS_HASSTRINGS,
                           74, 0, options.width, kBoxHeight, owner,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LAUNCHER_BOX)),
                           instance, nullptr);
  if (!combo_) return false;

  std::string face(options.font_face);
  font_.Reset(CreateFontA(13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                          FIXED_PITCH | FF_MODERN, face.empty() ? nullptr : face.c_str()));
  SendMessageA(combo_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

  for (int i = 0; i < LauncherHistory::kEntries; ++i) {
    std::string row(options.history ? options.history->Entry(i) : std::string_view());
    SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
  }

  POINT inside{4, 4};
  edit_ = ChildWindowFromPoint(combo_, inside);
  if (!edit_ || edit_ == combo_) edit_ = FindWindowExA(combo_, nullptr, "Edit", nullptr);
  if (!edit_) return true;

  if (HIMC ime = ImmGetContext(edit_)) {
    ImmSetOpenStatus(ime, FALSE);
    ImmReleaseContext(edit_, ime);
  }
  if (options.password_echo) {
    SendMessageA(edit_, EM_SETPASSWORDCHAR, '*', 0);
  } else {
    AttachCompletion(std::move(options.completion), options.allocator);
  }
  // Our subclass goes on top of the completion object's, so that undoing it
  // leaves that object's own hook intact and it can detach itself when the
  // field is destroyed.
  SetPropA(edit_, kBoxProperty, this);
  edit_proc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LauncherBox::EditProc)));
  return true;
}

void LauncherBox::AttachCompletion(std::vector<std::string> texts, IMalloc* allocator) {
  completion_ = vsmr::AttachCompletion(edit_, texts, allocator);
}

void LauncherBox::Close() {
  if (!combo_) return;
  if (edit_ && edit_proc_) {
    SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(edit_proc_));
    RemovePropA(edit_, kBoxProperty);
  }
  HWND combo = combo_;
  combo_ = nullptr;
  edit_ = nullptr;
  edit_proc_ = nullptr;
  DestroyWindow(combo);
  if (completion_) {
    completion_->Release();
    completion_ = nullptr;
  }
  font_.Reset();
}

std::string LauncherBox::TakeText() {
  if (!combo_) return {};
  std::string text(kLineBuffer, '\0');
  int n = GetWindowTextA(combo_, text.data(), static_cast<int>(kLineBuffer));
  text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  SetWindowTextA(combo_, "");
  return text;
}

void LauncherBox::AppendText(std::string_view text) {
  if (!combo_) return;
  std::string current(kLineBuffer, '\0');
  int n = GetWindowTextA(combo_, current.data(), static_cast<int>(kLineBuffer));
  current.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  current.append(text);
  SetWindowTextA(combo_, current.c_str());
}

void LauncherBox::SendEnter() {
  HWND owner = owner_;
  SendMessageA(owner, WM_COMMAND, IDM_LAUNCHER_ENTER, 0);
  // The run may itself have closed the box (or changed the keep-open flag);
  // only a box that is still open is closed here.
  bool keep = keep_open_ && *keep_open_;
  if (!keep && combo_) SendMessageA(owner, WM_COMMAND, IDM_LAUNCHER_TOGGLE, 0);
}

LRESULT CALLBACK LauncherBox::EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* box = static_cast<LauncherBox*>(GetPropA(hwnd, kBoxProperty));
  if (!box) return DefWindowProcA(hwnd, msg, wp, lp);
  WNDPROC next = box->edit_proc_;
  switch (msg) {
    case WM_KEYDOWN:
      if (wp == VK_RETURN) {
        // The character this key was translated to is taken now: left queued, it
        // would reach the first modal loop the line opens (a command menu takes
        // it as a choice of nothing and closes at once).
        MSG pending;
        if (PeekMessageA(&pending, hwnd, WM_CHAR, WM_CHAR, PM_NOREMOVE) && pending.wParam == '\r') {
          PeekMessageA(&pending, hwnd, WM_CHAR, WM_CHAR, PM_REMOVE);
        }
        box->SendEnter();  // may destroy this window: touch nothing of it afterwards
        return 0;
      }
      break;
    case WM_CHAR:
      if (wp == '\r' || wp == '\n') return 0;  // the Enter already handled
      break;
    case WM_LBUTTONDBLCLK:
      box->SendEnter();
      return 0;
    default:
      break;
  }
  return CallWindowProcA(next, hwnd, msg, wp, lp);
}

}  // namespace vsmr
