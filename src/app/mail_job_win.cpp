// Mail jobs on a worker thread: the user-interface side of the job's calls
// (windows, settings, timer, sound, message boxes, lines) and the thread's life.
#include "app/mail_job_win.h"

#include <mmsystem.h>

#include <string>

#include "app/line_hand_off_win.h"
#include "app/mail_job_hand_off.h"
#include "app/mail_owner_window_win.h"
#include "base/resource_ids.h"
#include "mail/mail_check_result.h"

namespace vsmr {

class MailJobs::WindowHost final : public MailJobHost {
 public:
  WindowHost(MailJobs& jobs, std::function<int(const MarkedLine&, int)> run_line)
      : jobs_(jobs), run_line_(std::move(run_line)) {}

  void ShowStatus(std::string_view text) override { jobs_.window_.SetStatus(text); }
  void SetStatusWord(std::string_view code) override {
    jobs_.state_.status.Set(code);
    InvalidateRect(jobs_.main_, nullptr, FALSE);
  }
  PopAccount ReadAccount(int account_index) override {
    const MailAccount& live = jobs_.state_.settings.accounts[account_index];
    PopAccount account;
    account.server.Set(live.server.View());
    account.user.Set(live.user_name.View());
    account.password.Set(live.password.View());
    account.security = live.security;
    account.port = live.port;
    return account;
  }
  void OfferAccountSetup(std::string_view text, std::string_view caption) override {
    MessageBoxA(jobs_.main_, std::string(text).c_str(), std::string(caption).c_str(),
                MB_OK | MB_ICONWARNING);
    SendMessageA(jobs_.main_, WM_COMMAND, IDM_OPTIONS, 0);
    InvalidateRect(jobs_.main_, nullptr, TRUE);
  }
  bool AskPartialDownload(std::string_view text, std::string_view caption) override {
    return MessageBoxA(jobs_.window_.Handle(), std::string(text).c_str(),
                       std::string(caption).c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
  }
  bool MailWindowExists() override { return jobs_.window_.Exists(); }
  void ClearRows() override { jobs_.window_.ClearRows(); }
  void AddRow(const MailListRow& row, int check_index) override {
    const int at = jobs_.window_.AddRow(row);
    if (at >= 0) jobs_.window_.SetRowAccount(at, check_index);
  }
  void RefreshCount() override { jobs_.window_.RefreshCount(); }
  void ShowAndRaiseWindow() override { jobs_.ShowWindow(); }
  void PlaySoundFile(std::string_view path) override {
    PlaySoundA(std::string(path).c_str(), nullptr, SND_ASYNC | SND_NODEFAULT);
  }
  void RunLine(const MarkedLine& line, int context) override { run_line_(line, context); }
  void StoreState(int check_index, std::uint32_t generation, int message_count,
                  std::string_view key_text) override {
    StoreMailCheckResult(jobs_.state_.settings.check_list, generation, check_index,
                         message_count, key_text);
  }
  void ArmAutoTimer(int milliseconds) override {
    SetTimer(jobs_.main_, IDT_AUTO_MAIL, static_cast<UINT>(milliseconds), nullptr);
  }
  void ClearText() override { jobs_.window_.SetText({}); }
  void SetText(std::string_view text) override { jobs_.window_.SetText(text); }
  void MessageShown(int row) override {
    // The worker ends right after this call; once it has, the window's
    // catch-up request for a row selected meanwhile is not refused as running.
    if (jobs_.thread_) WaitForSingleObject(jobs_.thread_.get(), kThreadEndWait);
    if (jobs_.window_.Exists()) {
      PostMessageA(jobs_.window_.Handle(), WM_COMMAND, IDM_MAIL_SHOWN, row);
    }
  }
  bool AskDelete(std::string_view text, std::string_view caption) override {
    return MessageBoxA(jobs_.window_.Handle(), std::string(text).c_str(),
                       std::string(caption).c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
  }
  void TellDeleted(std::string_view text, std::string_view caption) override {
    MessageBoxA(jobs_.window_.Handle(), std::string(text).c_str(), std::string(caption).c_str(),
                MB_OK);
  }

 private:
  static constexpr DWORD kThreadEndWait = 2000;

  MailJobs& jobs_;
  std::function<int(const MarkedLine&, int)> run_line_;
};

// Shared by the thread and the program: the thread may outlive a wait for it.
struct MailJobs::Work {
  MailJobRequest request;
  MailJobSettings settings;
  std::shared_ptr<const std::atomic<bool>> stop;
  LineHandOff* queue = nullptr;
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
      [this](int kind, int check_index, const MailMessageRef& message, int list_row) {
        return Start(kind, check_index, message, list_row);
      });
}

MailJobs::~MailJobs() {
  StopForExit();
  if (owner_ && IsWindow(owner_)) DestroyWindow(owner_);
}

bool MailJobs::Running() const {
  return thread_ && WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT;
}

void MailJobs::ShowWindow() {
  if (!window_.Exists()) return;
  window_.ShowAndRaise();
}

bool MailJobs::Start(int kind, int check_index, const MailMessageRef& message, int list_row) {
  SettingsState& settings = state_.settings;
  if (exiting_ || settings.check_list.count == 0 || state_.LeaveRoomMode()) return false;
  KillTimer(main_, IDT_AUTO_MAIL);
  if (!owner_ || !IsWindow(owner_)) owner_ = CreateMailOwnerWindow(instance_);
  if (!window_.Exists() && owner_) window_.Create(instance_, owner_, settings);
  if (Running()) return false;
  thread_.Reset();  // the ended thread's handle goes before the next is made

  stop_ = std::make_shared<std::atomic<bool>>(false);
  auto work = std::make_unique<std::shared_ptr<Work>>(std::make_shared<Work>());
  Work& w = **work;
  w.request = MailJobRequest{kind, list_row, check_index, message.number, message};
  w.settings = CopyMailJobSettings(settings);
  if (pop_port_ != 0) w.settings.pop.port = pop_port_;
  w.stop = stop_;
  w.queue = &state_.hand_off;
  w.ui = ui_.get();
  w.main = main_;
  HANDLE thread = CreateThread(nullptr, 0, &MailJobs::ThreadMain, work.get(), 0, nullptr);
  if (!thread) {
    if (settings.auto_check_time != 0) {
      SetTimer(main_, IDT_AUTO_MAIL, static_cast<UINT>(settings.auto_check_time) * 1000, nullptr);
    }
    return false;
  }
  work.release();  // the thread owns it now
  thread_.Reset(thread);
  if (kind != kMailJobAutoCheck) ShowWindow();
  return true;
}

DWORD WINAPI MailJobs::ThreadMain(void* parameter) {
  std::unique_ptr<std::shared_ptr<Work>> owned(static_cast<std::shared_ptr<Work>*>(parameter));
  Work& work = **owned;
  const HWND main = work.main;
  HandedOffMailHost host(*work.queue,
                         [main] { return PostMessageA(main, kRunLineMessage, 0, 0) != FALSE; },
                         *work.ui, work.stop);
  PopMailServer server(SystemSockets(), host, work.settings.pop);
  RunMailJob(work.request, work.settings, host, server);
  return 0;
}

bool MailJobs::StopForExit() {
  if (exiting_) return !Running();
  exiting_ = true;
  state_.hand_off.Close();
  if (stop_) stop_->store(true);
  if (!thread_) return true;
  const DWORD limit = static_cast<DWORD>(state_.settings.time_out + 1) * 1000;
  if (WaitForSingleObject(thread_.get(), limit) == WAIT_TIMEOUT) return false;
  thread_.Reset();
  return true;
}

}  // namespace vsmr
