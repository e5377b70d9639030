// The launcher box's controls: the combo box with its font, history rows,
// input-method setting, auto-completion and the subclassed edit field that
// turns Enter and double-click into window commands.
#pragma once
#include <windows.h>
#include <shldisp.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/gdi_handles_win.h"
#include "command/launcher_history.h"

namespace vsmr {

struct LauncherBoxOptions {
  int width = 0;                 // opened length - 1
  std::string_view font_face;    // empty: the system's default Shift-JIS face
  const LauncherHistory* history = nullptr;
  bool password_echo = false;    // leave-room mode: '*' echo, no completion
  std::vector<std::string> completion;
  IMalloc* allocator = nullptr;  // the shell allocator for handed-out strings
  const bool* keep_open = nullptr;  // read at each Enter
};

class LauncherBox {
 public:
  LauncherBox() = default;
  ~LauncherBox() { Close(); }
  LauncherBox(const LauncherBox&) = delete;
  LauncherBox& operator=(const LauncherBox&) = delete;

  // Creates the box at (74, 0) in `owner`. Returns false when the combo box
  // could not be created.
  bool Open(HWND owner, HINSTANCE instance, LauncherBoxOptions options);
  // Undoes the subclassing, destroys the box and releases the completion.
  void Close();
  bool IsOpen() const { return combo_ != nullptr; }
  HWND combo() const { return combo_; }

  // The edit field's text (at most kLineMax bytes); the field is cleared.
  std::string TakeText();
  void AppendText(std::string_view text);

 private:
  static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void AttachCompletion(std::vector<std::string> texts, IMalloc* allocator);
  void SendEnter();

  HWND owner_ = nullptr;
  HWND combo_ = nullptr;
  HWND edit_ = nullptr;
  WNDPROC edit_proc_ = nullptr;
  GdiObject<HFONT> font_;
  IUnknown* completion_ = nullptr;
  const bool* keep_open_ = nullptr;
};

}  // namespace vsmr
