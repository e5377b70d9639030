// Starting mail jobs from the main window: the refusals, the hidden owner and
// the mail window made on demand, one job at a time, the automatic check timer
// (109), and the end of a running job when the program closes.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "app/app_state.h"
#include "base/gdi_handles_win.h"
#include "mail/jobs/mail_job.h"
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

  // Starts a job of `kind` (reading jobs: for `account`'s `message`, shown in
  // `list_row`); false when refused (empty check list, the leave-room lock, a
  // job still running) or when no thread could start. Only a check that starts
  // stops the automatic timer.
  bool Start(int kind, int account = 0, const MailMessageRef& message = {}, int list_row = 0);
  // A job runs from its start until the user-interface thread has carried out
  // its last handed-over call; then the next one may start at once.
  bool Running() const { return running_; }

  // Timer 109 fired: an automatic check starts; a tick refused while a
  // message is being read comes back shortly, any other follows the rule below.
  void OnAutoTimer();
  // Timer 109 runs exactly while automatic checking is set up (an interval,
  // an enabled account, no leave-room lock) and no check runs: then it is
  // armed to fire after `delay_ms`, otherwise it is stopped.
  void KeepAutoTimer(std::uint32_t delay_ms);

  MailWindow& Window() { return window_; }
  HWND WindowHandle() const { return window_.Handle(); }
  // Brings the mail window, when it exists, to the front in its normal state.
  void ShowWindow();

  // Program exit: the job is told to stop, and the calls it hands over are
  // carried out (those that keep its results; nothing that asks the user or
  // runs a command) while its end is awaited, sent messages handled, for at
  // most TimeOut + 1 seconds; then the hand-off is closed (a worker still
  // waiting there returns). True when no job is left running.
  bool StopForExit();

 private:
  class WindowHost;  // the job's calls as carried out on the user-interface thread
  struct Work;       // what a worker thread owns

  static DWORD WINAPI ThreadMain(void* parameter);
  // The running job's last call has been carried out.
  void EndJob();
  // The mail window the running job writes to (the one that existed when it
  // started) is still open.
  bool JobWindowOpen() const;
  // AutoCheckTime in milliseconds.
  std::uint32_t IntervalMs() const;
  // Carries out the job's calls until it is over or `limit_ms` have passed.
  void AwaitJobEnd(std::uint64_t limit_ms);

  HINSTANCE instance_;
  AppState& state_;
  HWND main_ = nullptr;
  std::uint16_t pop_port_;
  HWND owner_ = nullptr;
  MailWindow window_;
  std::unique_ptr<WindowHost> ui_;
  // The last job's thread: it is past its last call once the job is over,
  // and never waited on after that.
  OwnedHandle<HANDLE, CloseHandle> thread_;
  std::shared_ptr<std::atomic<bool>> stop_;
  bool running_ = false;
  int running_kind_ = 0;
  int shown_row_ = -1;               // a show-message job's row, told to the window at its end
  std::uint32_t job_window_ = 0;     // MailWindow::Instance() of the job's window; 0: none
  bool exiting_ = false;  // StopForExit has run: nothing starts, nothing asks or runs lines
};

}  // namespace vsmr
