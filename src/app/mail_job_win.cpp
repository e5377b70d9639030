// Mail jobs on a worker thread: the user-interface side of the job's calls
// (windows, settings, timer, sound, message boxes, lines) and the job's life.
#include "app/mail_job_win.h"

#include <mmsystem.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "app/leave_room.h"
#include "app/call_hand_off_win.h"
#include "app/mail_job_hand_off.h"
#include "app/mail_owner_window_win.h"
#include "base/resource_ids.h"
#include "settings/mail_check_result.h"
#include "settings/settings_store.h"

namespace vsmr {

namespace {

// A tick refused while a message is being read is taken again after this.
constexpr std::uint32_t kAutoCheckRetryMs = 3000;
// While the program waits for a job's end at exit, it looks at the job's
// handed-over calls this often.
constexpr DWORD kExitPollMs = 10;
// The longest interval SetTimer takes.
constexpr std::uint64_t kLongestTimerMs = 0x7FFFFFFF;

}  // namespace

// Every call goes to the mail window the job started with, never to one the
// user opened after closing it. At exit nothing asks the user, plays, shows
// or runs a line: only what keeps the job's results is carried out.
class MailJobs::WindowHost final : public MailJobHost {
 public:
  WindowHost(MailJobs& jobs, std::function<int(const MarkedLine&, int)> run_line)
      : jobs_(jobs), run_line_(std::move(run_line)) {}

  void ShowStatus(std::string_view text) override {
    if (jobs_.JobWindowOpen()) jobs_.window_.SetStatus(text);
  }
  void SetStatusWord(std::string_view code) override {
    jobs_.state_.status.Set(code);
    InvalidateRect(jobs_.main_, nullptr, FALSE);
  }
  MailAccount ReadAccount(int account_index) override {
    return jobs_.state_.settings.accounts[account_index];
  }
  void OfferAccountSetup(std::string_view text, std::string_view caption) override {
    if (jobs_.exiting_) return;
    MessageBoxA(jobs_.main_, std::string(text).c_str(), std::string(caption).c_str(),
                MB_OK | MB_ICONWARNING);
    SendMessageA(jobs_.main_, WM_COMMAND, IDM_OPTIONS, 0);
    InvalidateRect(jobs_.main_, nullptr, TRUE);
  }
  bool AskPartialDownload(std::string_view text, std::string_view caption) override {
    if (jobs_.exiting_) return false;
    return MessageBoxA(Owner(), std::string(text).c_str(), std::string(caption).c_str(),
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
  }
  bool MailWindowExists() override { return jobs_.JobWindowOpen(); }
  void ClearRows() override {
    if (jobs_.JobWindowOpen()) jobs_.window_.ClearRows();
  }
  void AddRow(const MailListRow& row, int account) override {
    const AccountRow one{row, account};
    AddRows({&one, 1});
  }
  void AddRows(std::span<const AccountRow> rows) override {
    if (!jobs_.JobWindowOpen()) return;
    std::vector<MailListRow> shown;
    std::vector<int> accounts;
    shown.reserve(rows.size());
    accounts.reserve(rows.size());
    for (const AccountRow& r : rows) {
      if (r.account < 0 || r.account >= kMailAccountCount) continue;
      shown.push_back(r.row);
      // The user name the log-in read, not the one the job copied at its start.
      shown.back().account.assign(jobs_.state_.settings.accounts[r.account].user_name.View());
      accounts.push_back(r.account);
    }
    const int first = jobs_.window_.AddRows(shown);
    if (first < 0) return;
    for (std::size_t i = 0; i < accounts.size(); ++i) {
      jobs_.window_.SetRowAccount(first + static_cast<int>(i), accounts[i]);
    }
  }
  void RefreshCount() override {
    if (jobs_.JobWindowOpen()) jobs_.window_.RefreshCount();
  }
  void ShowAndRaiseWindow() override {
    if (!jobs_.exiting_ && jobs_.JobWindowOpen()) jobs_.ShowWindow();
  }
  void PlaySoundFile(std::string_view path) override {
    if (jobs_.exiting_) return;
    PlaySoundA(std::string(path).c_str(), nullptr, SND_ASYNC | SND_NODEFAULT);
  }
  void RunLine(const MarkedLine& line, int context) override {
    if (!jobs_.exiting_) run_line_(line, context);
  }
  void StoreState(int account, int message_count, std::string_view key_text) override {
    StoreMailCheckResult(jobs_.state_.settings.check_list, account, message_count, key_text);
  }
  void RememberLauncherRuns(std::span<const std::uint64_t> identities) override {
    if (jobs_.exiting_) return;  // the line will not run either
    SettingsState& settings = jobs_.state_.settings;
    for (std::uint64_t id : identities) settings.mail_launcher_runs.Remember(id);
    WriteMailLauncherRuns(settings, jobs_.state_.files.settings_path);
  }
  void ClearText() override {
    if (jobs_.JobWindowOpen()) jobs_.window_.SetText({});
  }
  void SetText(std::string_view text) override {
    if (jobs_.JobWindowOpen()) jobs_.window_.SetText(text);
  }
  void MessageShown(int row) override { jobs_.shown_row_ = row; }
  void JobEnded() override { jobs_.EndJob(); }
  bool AskDelete(std::string_view text, std::string_view caption) override {
    if (jobs_.exiting_) return false;
    return MessageBoxA(Owner(), std::string(text).c_str(), std::string(caption).c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
  }
  void TellDeleted(std::string_view text, std::string_view caption) override {
    if (jobs_.exiting_) return;
    MessageBoxA(Owner(), std::string(text).c_str(), std::string(caption).c_str(), MB_OK);
  }

 private:
  HWND Owner() const { return jobs_.JobWindowOpen() ? jobs_.window_.Handle() : nullptr; }

  MailJobs& jobs_;
  std::function<int(const MarkedLine&, int)> run_line_;
};

// Shared by the thread and the program: the thread may outlive a wait for it.
struct MailJobs::Work {
  MailJobRequest request;
  MailJobSettings settings;
  std::shared_ptr<const std::atomic<bool>> stop;
  CallHandOff* queue = nullptr;
  MailJobHost* ui = nullptr;
  HWND main = nullptr;
};

MailJobs::MailJobs(HINSTANCE instance, AppState& state,
                   std::function<int(const MarkedLine&, int)> run_line, std::uint16_t pop_port)
    : instance_(instance),
      state_(state),
      pop_port_(pop_port),
      ui_(std::make_unique<WindowHost>(*this, std::move(run_line))) {
  window_.SetJobStarter(
      [this](int kind, int account, const MailMessageRef& message, int list_row) {
        return Start(kind, account, message, list_row);
      });
}

MailJobs::~MailJobs() {
  StopForExit();
  if (owner_ && IsWindow(owner_)) DestroyWindow(owner_);
}

void MailJobs::ShowWindow() {
  if (!window_.Exists()) return;
  window_.ShowAndRaise();
}

bool MailJobs::JobWindowOpen() const {
  return job_window_ != 0 && window_.Exists() && window_.Instance() == job_window_;
}

std::uint32_t MailJobs::IntervalMs() const {
  const std::int32_t seconds = state_.settings.auto_check_time;
  return static_cast<std::uint32_t>(
      std::min<std::uint64_t>(seconds > 0 ? static_cast<std::uint64_t>(seconds) * 1000 : 0,
                              kLongestTimerMs));
}

void MailJobs::KeepAutoTimer(std::uint32_t delay_ms) {
  if (!main_) return;
  const bool checking = running_ && MailJobChecks(running_kind_);
  if (!exiting_ && !checking && !state_.LeaveRoomMode() && AutoMailConfigured(state_.settings)) {
    SetTimer(main_, IDT_AUTO_MAIL, delay_ms, nullptr);
  } else {
    KillTimer(main_, IDT_AUTO_MAIL);
  }
}

void MailJobs::OnAutoTimer() {
  if (Start(kMailJobAutoCheck)) return;  // the check stopped the timer; its end arms it
  const bool reading = running_ && !MailJobChecks(running_kind_);
  KeepAutoTimer(reading ? kAutoCheckRetryMs : IntervalMs());
}

bool MailJobs::Start(int kind, int account, const MailMessageRef& message, int list_row) {
  SettingsState& settings = state_.settings;
  if (exiting_ || settings.check_list.count == 0 || state_.LeaveRoomMode()) return false;
  if (!owner_ || !IsWindow(owner_)) owner_ = CreateMailOwnerWindow(instance_);
  if (!window_.Exists() && owner_) window_.Create(instance_, owner_, settings);
  if (running_) return false;
  thread_.Reset();  // the last job's thread: past its last call, never waited on

  stop_ = std::make_shared<std::atomic<bool>>(false);
  auto work = std::make_unique<std::shared_ptr<Work>>(std::make_shared<Work>());
  Work& w = **work;
  w.request = MailJobRequest{kind, list_row, account, message.number, message};
  w.settings = CopyMailJobSettings(settings);
  if (pop_port_ != 0) w.settings.pop.port = pop_port_;
  w.stop = stop_;
  w.queue = &state_.hand_off;
  w.ui = ui_.get();
  w.main = main_;
  // Nothing the thread hands over runs before this function returns, so the
  // job's state may follow the thread's creation.
  HANDLE thread = CreateThread(nullptr, 0, &MailJobs::ThreadMain, work.get(), 0, nullptr);
  if (!thread) return false;  // the timer stays as it was
  work.release();  // the thread owns it now
  thread_.Reset(thread);
  running_ = true;
  running_kind_ = kind;
  shown_row_ = -1;
  job_window_ = window_.Exists() ? window_.Instance() : 0;
  if (MailJobChecks(kind)) KillTimer(main_, IDT_AUTO_MAIL);
  if (kind != kMailJobAutoCheck) ShowWindow();
  return true;
}

void MailJobs::EndJob() {
  if (!running_) return;
  running_ = false;
  if (MailJobChecks(running_kind_)) KeepAutoTimer(IntervalMs());
  // The window shows the row selected while the message downloaded, now that
  // a new job can start.
  if (shown_row_ >= 0 && JobWindowOpen()) {
    PostMessageA(window_.Handle(), WM_COMMAND, IDM_MAIL_SHOWN, shown_row_);
  }
  shown_row_ = -1;
}

DWORD WINAPI MailJobs::ThreadMain(void* parameter) {
  std::unique_ptr<std::shared_ptr<Work>> owned(static_cast<std::shared_ptr<Work>*>(parameter));
  Work& work = **owned;
  const HWND main = work.main;
  HandedOffMailHost host(*work.queue,
                         [main] { return PostMessageA(main, kRunCallsMessage, 0, 0) != FALSE; },
                         *work.ui, work.stop);
  PopMailServer server(SystemSockets(), host, work.settings.pop);
  RunMailJob(work.request, work.settings, host, server);
  return 0;
}

void MailJobs::AwaitJobEnd(std::uint64_t limit_ms) {
  const ULONGLONG deadline = GetTickCount64() + limit_ms;
  HANDLE thread = thread_.get();
  while (running_) {
    // A poll, not a wait: a thread that has ended has handed over its last call.
    const bool ended = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    state_.hand_off.RunQueued();
    if (!running_) return;
    if (ended) {  // its last call was dropped: the job is over all the same
      running_ = false;
      return;
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return;
    const DWORD slice = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, kExitPollMs));
    if (MsgWaitForMultipleObjects(1, &thread, FALSE, slice, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
      MSG msg;
      PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // runs sent messages
    }
  }
}

bool MailJobs::StopForExit() {
  if (exiting_) return !running_;
  exiting_ = true;
  if (stop_) stop_->store(true);
  if (running_ && thread_) {
    const std::int32_t seconds = state_.settings.time_out;
    AwaitJobEnd((seconds > 0 ? static_cast<std::uint64_t>(seconds) : 0) * 1000 + 1000);
  }
  state_.hand_off.Close();
  return !running_;
}

}  // namespace vsmr
