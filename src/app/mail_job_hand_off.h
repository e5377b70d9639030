// The worker's side of a mail job: a MailJobHost that hands every call to the
// user-interface thread through the process's hand-off, where another
// MailJobHost (the windows, the settings) carries it out.
#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "app/call_hand_off.h"
#include "mail/jobs/mail_job.h"

namespace vsmr {

class HandedOffMailHost final : public MailJobHost {
 public:
  // `ui` is called only on the thread that runs `queue` and must live until
  // the queue is closed. `wake` makes that thread run the queue (true when it
  // will). `stop` turns true when the job must end: MailWindowExists() then
  // answers false, and a wait for the user-interface thread ends with Close().
  HandedOffMailHost(CallHandOff& queue, std::function<bool()> wake, MailJobHost& ui,
                    std::shared_ptr<const std::atomic<bool>> stop);

  void ShowStatus(std::string_view text) override;
  void SetStatusWord(std::string_view code) override;
  MailAccount ReadAccount(int account_index) override;
  void OfferAccountSetup(std::string_view text, std::string_view caption) override;
  bool AskPartialDownload(std::string_view text, std::string_view caption) override;
  // Answers from what the last call run on the user-interface thread saw, so
  // that asking costs the worker no wait.
  bool MailWindowExists() override;
  void ClearRows() override;
  void AddRow(const MailListRow& row, int account) override;
  void RefreshCount() override;
  void ShowAndRaiseWindow() override;
  void PlaySoundFile(std::string_view path) override;
  void RunLine(const MarkedLine& line, int context) override;
  void StoreState(int account, int message_count, std::string_view key_text) override;
  void RememberLauncherRuns(std::span<const std::uint64_t> identities) override;
  void ClearText() override;
  void SetText(std::string_view text) override;
  void MessageShown(int row) override;
  void JobEnded() override;
  bool AskDelete(std::string_view text, std::string_view caption) override;
  void TellDeleted(std::string_view text, std::string_view caption) override;
  // Hands over the rows held back.
  void BeforeWait() override;

 private:
  // Runs `work` on the user-interface thread after what was handed over before
  // (the rows held back included).
  void Post(std::function<void(MailJobHost&)> work);
  // Runs `work` there and waits for its end (or for Close()); its result, or 0.
  int Send(std::function<int(MailJobHost&)> work);
  void PostNow(std::function<void(MailJobHost&)> work);
  void FlushRows();

  CallHandOff& queue_;
  std::function<bool()> wake_;
  MailJobHost* ui_;
  std::shared_ptr<const std::atomic<bool>> stop_;
  std::shared_ptr<std::atomic<bool>> window_open_;
  // Rows go over in batches: a hand-off (and a wake of the user-interface
  // thread) per row cost a thousand-message check some 8 ms of its 50 under Wine.
  std::vector<AccountRow> pending_rows_;
};

}  // namespace vsmr
