// Starting mail jobs from the main window: the refusals, the hidden owner and
// the mail window made on demand, one worker thread at a time, and the end of
// a running job when the program closes.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string_view>

#include "app/app_state.h"
#include "base/gdi_handles_win.h"
#include "mail/mail_job.h"
#include "mailview/mail_window_win.h"

namespace vsmr {

class MailJobs {
 public:
  // `run_line` runs a line as a fresh top-level run on the user-interface
  // thread; `pop_port` replaces the POP3 port when not 0 (tests).
  MailJobs(HINSTANCE instance, AppState& state,
           std::function<int(const MarkedLine&, int)> run_line, std::uint16_t pop_port = 0);
  ~MailJobs();
  MailJobs(const MailJobs&) = delete;
  MailJobs& operator=(const MailJobs&) = delete;

  // Set once the main window exists: it holds the automatic timer, owns the
  // message boxes and runs the handed-over calls.
  void Attach(HWND main_window) { main_ = main_window; }

  // Starts a job of `kind`; false when refused (empty check list, the
  // leave-room lock, a job still running) or when no thread could start.
  bool Start(int kind, int check_index = 0, const MailMessageRef& message = {}, int list_row = 0);
  bool Running() const;

  MailWindow& Window() { return window_; }
  HWND WindowHandle() const { return window_.Handle(); }
  // Brings the mail window, when it exists, to the front in its normal state.
  void ShowWindow();

  // Program exit: the hand-off is closed (a worker waiting there returns),
  // the job is told to stop, and its thread is waited for at most TimeOut + 1
  // seconds. True when no worker is left running.
  bool StopForExit();

 private:
  class WindowHost;  // the job's calls as carried out on the user-interface thread
  struct Work;       // what a worker thread owns

  static DWORD WINAPI ThreadMain(void* parameter);

  HINSTANCE instance_;
  AppState& state_;
  HWND main_ = nullptr;
  std::uint16_t pop_port_;
  HWND owner_ = nullptr;
  MailWindow window_;
  std::unique_ptr<WindowHost> ui_;
  OwnedHandle<HANDLE, CloseHandle> thread_;
  std::shared_ptr<std::atomic<bool>> stop_;
  bool exiting_ = false;  // StopForExit has run: the wait is never repeated
};

}  // namespace vsmr
