// A hundred mail checks of one mailbox on a real Dovecot (started by
// dovecot_harness.py, which passes its port and password), through the check
// job, the POP3 client and Winsock: the process's counts stay flat.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "mail/jobs/mail_job.h"
#include "support/process_counters_win.h"

namespace vsmr {
namespace {

constexpr int kWarmUpChecks = 5;
constexpr int kChecks = 100;
// The harness's mailbox of six messages, one in each charset Japanese mail comes in.
constexpr char kMailbox[] = "charsets";
constexpr int kMessages = 6;

// Answers the job from fixed fields and keeps only counts, so that the host
// itself does not grow over the run.
class CountingHost final : public MailJobHost {
 public:
  MailAccount account;
  int rows = 0;
  int ended = 0;
  int stored_count = -1;

  void ShowStatus(std::string_view) override {}
  void SetStatusWord(std::string_view) override {}
  MailAccount ReadAccount(int) override { return account; }
  void OfferAccountSetup(std::string_view, std::string_view) override {}
  bool AskPartialDownload(std::string_view, std::string_view) override { return false; }
  bool MailWindowExists() override { return true; }
  void ClearRows() override { rows = 0; }
  void AddRow(const MailListRow&, int) override { ++rows; }
  void RefreshCount() override {}
  void ShowAndRaiseWindow() override {}
  void PlaySoundFile(std::string_view) override {}
  void RunLine(const MarkedLine&, int) override {}
  void StoreState(int, int count, std::string_view) override { stored_count = count; }
  void RememberLauncherRuns(std::span<const std::uint64_t>) override {}
  void ClearText() override {}
  void SetText(std::string_view) override {}
  void MessageShown(int) override {}
  void JobEnded() override { ++ended; }
  bool AskDelete(std::string_view, std::string_view) override { return false; }
  void TellDeleted(std::string_view, std::string_view) override {}
};

TEST(MailCheckEndurance, HundredChecksAgainstDovecotStayFlat) {
  const char* port = std::getenv("VSMR_POP3_PORT");
  const char* password = std::getenv("VSMR_POP3_PASSWORD");
  if (!port || !password) GTEST_SKIP() << "run through dovecot_harness.py";

  MailJobSettings settings;
  settings.accounts[0].enabled = 1;
  settings.accounts[0].server.Set("127.0.0.1");
  settings.accounts[0].user_name.Set(kMailbox);
  settings.check_list.count = 1;
  settings.pop.port = static_cast<std::uint16_t>(std::atoi(port));
  CountingHost host;
  host.account.server.Set("127.0.0.1");
  host.account.user_name.Set(kMailbox);
  host.account.password.Set(password);

  int listed_all = 0;
  auto check = [&] {
    PopMailServer server(SystemSockets(), host, settings.pop);
    RunMailJob({kMailJobManualCheck}, settings, host, server);
    if (host.rows == kMessages) ++listed_all;
  };
  for (int i = 0; i < kWarmUpChecks; ++i) check();
  const ProcessCounters before = ProcessCounters::Read();
  for (int i = 0; i < kChecks; ++i) check();
  const ProcessCounters after = ProcessCounters::Read();
  PrintCounters("100 mail checks", before, after);

  EXPECT_EQ(listed_all, kWarmUpChecks + kChecks);
  EXPECT_EQ(host.ended, kWarmUpChecks + kChecks);
  EXPECT_EQ(host.stored_count, kMessages);
  ExpectFlat(before, after);
}

}  // namespace
}  // namespace vsmr
