// Driving a modal dialog of this process from a second thread while the test's
// own thread sits in the dialog's message loop.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace vsmr {

inline BOOL CALLBACK FindOwnDialog(HWND w, LPARAM out) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (pid == GetCurrentProcessId() && IsWindowVisible(w) && std::string(cls) == "#32770") {
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
  }
  return TRUE;
}

// The first visible dialog of this process, waited for up to ten seconds.
inline HWND WaitForDialog() {
  for (int i = 0; i < 200; ++i) {
    HWND found = nullptr;
    EnumWindows(FindOwnDialog, reinterpret_cast<LPARAM>(&found));
    if (found) return found;
    Sleep(50);
  }
  return nullptr;
}

// Runs `act` on the dialog that the calling thread is about to show.
class DialogDriver {
 public:
  explicit DialogDriver(std::function<void(HWND)> act)
      : thread_([this, act] {
          HWND dialog = WaitForDialog();
          found_ = dialog != nullptr;
          if (dialog) act(dialog);
        }) {}
  // Joins the thread, so every check after the scope sees what it did.
  ~DialogDriver() {
    thread_.join();
    EXPECT_TRUE(found_) << "no dialog appeared";
  }

 private:
  std::atomic<bool> found_{false};
  std::thread thread_;
};

inline void Press(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Presses `id`, which shows a message box titled `title`, and answers the box
// with `answer`. False when no such box appeared within ten seconds.
inline bool PressAndAnswer(HWND dialog, int id, const char* title, int answer) {
  std::thread press([dialog, id] { Press(dialog, id); });
  HWND box = nullptr;
  for (int i = 0; i < 200 && !box; ++i, Sleep(50)) box = FindWindowA(nullptr, title);
  if (box) PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
  press.join();
  return box != nullptr;
}

}  // namespace vsmr
