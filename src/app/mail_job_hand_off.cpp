// Every call of the worker's mail host becomes a call on the user-interface
// thread that owns copies of its arguments.
#include "app/mail_job_hand_off.h"

#include <string>

namespace vsmr {

namespace {

// The most rows held back between two waits for the server: the list grows in
// steps that the user-interface thread adds in well under a millisecond.
constexpr std::size_t kRowBatch = 256;

}  // namespace

HandedOffMailHost::HandedOffMailHost(CallHandOff& queue, std::function<bool()> wake,
                                     MailJobHost& ui,
                                     std::shared_ptr<const std::atomic<bool>> stop)
    : queue_(queue),
      wake_(std::move(wake)),
      ui_(&ui),
      stop_(std::move(stop)),
      window_open_(std::make_shared<std::atomic<bool>>(true)) {}

void HandedOffMailHost::Post(std::function<void(MailJobHost&)> work) {
  FlushRows();
  PostNow(std::move(work));
}

void HandedOffMailHost::FlushRows() {
  if (pending_rows_.empty()) return;
  std::vector<AccountRow> rows;
  rows.swap(pending_rows_);
  PostNow([rows = std::move(rows)](MailJobHost& ui) { ui.AddRows(rows); });
}

void HandedOffMailHost::BeforeWait() { FlushRows(); }

void HandedOffMailHost::PostNow(std::function<void(MailJobHost&)> work) {
  queue_.Post(
      [ui = ui_, open = window_open_, work = std::move(work)] {
        work(*ui);
        open->store(ui->MailWindowExists());
        return 0;
      },
      wake_);
}

int HandedOffMailHost::Send(std::function<int(MailJobHost&)> work) {
  FlushRows();
  CallHandOff::Result result = queue_.Send(
      [ui = ui_, open = window_open_, work = std::move(work)] {
        int value = work(*ui);
        open->store(ui->MailWindowExists());
        return value;
      },
      CallHandOff::kNoTimeLimit, wake_);
  return result.outcome == CallHandOff::Outcome::kRan ? result.value : 0;
}

void HandedOffMailHost::ShowStatus(std::string_view text) {
  Post([text = std::string(text)](MailJobHost& ui) { ui.ShowStatus(text); });
}

void HandedOffMailHost::SetStatusWord(std::string_view code) {
  Post([code = std::string(code)](MailJobHost& ui) { ui.SetStatusWord(code); });
}

MailAccount HandedOffMailHost::ReadAccount(int account_index) {
  auto account = std::make_shared<MailAccount>();
  Send([account, account_index](MailJobHost& ui) {
    *account = ui.ReadAccount(account_index);
    return 1;
  });
  return *account;
}

void HandedOffMailHost::OfferAccountSetup(std::string_view text, std::string_view caption) {
  Send([text = std::string(text), caption = std::string(caption)](MailJobHost& ui) {
    ui.OfferAccountSetup(text, caption);
    return 1;
  });
}

bool HandedOffMailHost::AskPartialDownload(std::string_view text, std::string_view caption) {
  return Send([text = std::string(text), caption = std::string(caption)](MailJobHost& ui) {
           return ui.AskPartialDownload(text, caption) ? 1 : 0;
         }) != 0;
}

bool HandedOffMailHost::MailWindowExists() {
  return !stop_->load() && window_open_->load();
}

void HandedOffMailHost::ClearRows() {
  Post([](MailJobHost& ui) { ui.ClearRows(); });
}

void HandedOffMailHost::AddRow(const MailListRow& row, int account) {
  pending_rows_.push_back({row, account});
  if (pending_rows_.size() >= kRowBatch) FlushRows();
}

void HandedOffMailHost::RefreshCount() {
  Post([](MailJobHost& ui) { ui.RefreshCount(); });
}

void HandedOffMailHost::ShowAndRaiseWindow() {
  Post([](MailJobHost& ui) { ui.ShowAndRaiseWindow(); });
}

void HandedOffMailHost::PlaySoundFile(std::string_view path) {
  Post([path = std::string(path)](MailJobHost& ui) { ui.PlaySoundFile(path); });
}

void HandedOffMailHost::RunLine(const MarkedLine& line, int context) {
  Send([line, context](MailJobHost& ui) {
    ui.RunLine(line, context);
    return 1;
  });
}

void HandedOffMailHost::StoreState(int account, int message_count, std::string_view key_text) {
  Post([=, key = std::string(key_text)](MailJobHost& ui) {
    ui.StoreState(account, message_count, key);
  });
}

void HandedOffMailHost::RememberLauncherRuns(std::span<const std::uint64_t> identities) {
  Post([ids = std::vector<std::uint64_t>(identities.begin(), identities.end())](MailJobHost& ui) {
    ui.RememberLauncherRuns(ids);
  });
}

void HandedOffMailHost::ClearText() {
  Post([](MailJobHost& ui) { ui.ClearText(); });
}

void HandedOffMailHost::SetText(std::string_view text) {
  Post([text = std::string(text)](MailJobHost& ui) { ui.SetText(text); });
}

void HandedOffMailHost::MessageShown(int row) {
  Post([row](MailJobHost& ui) { ui.MessageShown(row); });
}

void HandedOffMailHost::JobEnded() {
  Post([](MailJobHost& ui) { ui.JobEnded(); });
}

bool HandedOffMailHost::AskDelete(std::string_view text, std::string_view caption) {
  return Send([text = std::string(text), caption = std::string(caption)](MailJobHost& ui) {
           return ui.AskDelete(text, caption) ? 1 : 0;
         }) != 0;
}

void HandedOffMailHost::TellDeleted(std::string_view text, std::string_view caption) {
  Send([text = std::string(text), caption = std::string(caption)](MailJobHost& ui) {
    ui.TellDeleted(text, caption);
    return 1;
  });
}

}  // namespace vsmr
