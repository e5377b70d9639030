// A mail job as the worker thread runs it: the request, the settings it works
// on (copied when the job starts), what it asks of the program (MailJobHost)
// and of the server (MailServer), and the dispatcher over the job kinds.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "command/marked_line.h"
#include "mail/jobs/mail_list_row.h"
#include "mail/pop3/pop3_header_source.h"
#include "mail/pop3/pop3_session.h"
#include "settings/settings_records.h"

namespace vsmr {

// Job kinds.
inline constexpr int kMailJobManualCheck = 1;  // all accounts, the mail window always shown
inline constexpr int kMailJobAutoCheck = kPopAutomaticCheckJob;  // shown only when needed
static_assert(kMailJobAutoCheck == 3);
inline constexpr int kMailJobShowMessage = 4;  // one message, decoded
inline constexpr int kMailJobShowSource = 5;   // one message as the server sent it
inline constexpr int kMailJobDelete = 6;       // one message deleted, then a manual check

// The status line while a check runs.
inline constexpr char kMailCheckingText[] = "新着メールをチェック中";
// The status line while a message is downloaded to be shown.
inline constexpr char kMailFetchingText[] = "メール内容を取得中";
// The deletion's question (sender, subject, warning) and confirmation, both
// under the same caption.
inline constexpr char kMailDeleteQuestionFormat[] =
    "「%s」さんからのメール\n「%s」\nを削除しようとしています。\n%s";
inline constexpr char kMailDeleteWarning[] = "一度削除すると、\"一生\"、元に戻せません。\n実行しますか？";
inline constexpr char kMailDeleteCaption[] = "削除";
inline constexpr char kMailDeletedText[] = "削除しました";
// The status line when the message asked about is no longer the one the
// server holds under its number: nothing is deleted.
inline constexpr char kMailDeleteChangedText[] = "メールボックスが変わったため削除中止";

// True for the kinds that end with a check (the automatic timer waits for their end).
inline bool MailJobChecks(int kind) {
  return kind == kMailJobManualCheck || kind == kMailJobAutoCheck || kind == kMailJobDelete;
}

struct MailJobRequest {
  int kind = kMailJobManualCheck;
  int list_row = 0;        // the mail window's row the job concerns (reading jobs)
  // The account slot (0-4) the job concerns (reading jobs): a row keeps its
  // account by slot, which a rebuild of the check list does not move.
  int account = 0;
  int message_number = 0;  // the POP3 message number (reading jobs)
  MailMessageRef listed = {};  // the row's message as the check listed it (delete)
};

// What a job reads of the settings, copied on the user-interface thread when
// the job starts, so that a rebuild of the live check list cannot move an
// entry under the running job. The automatic timer's interval is not among
// them: the end of a check reads the live one.
struct MailJobSettings {
  MailCheckList check_list;
  MailAccount accounts[kMailAccountCount];
  bool show_mail_dialog = false;
  bool mail_launcher_enabled = false;
  FixedText<256> mail_launcher_word;
  MailLauncherRuns mail_launcher_runs;
  PopSettings pop;
};

MailJobSettings CopyMailJobSettings(const SettingsState& settings);

// A list row and the account slot it belongs to.
struct AccountRow {
  MailListRow row;
  int account = 0;
};

// What a job asks of the rest of the program. The status line, the StatusWord,
// the log-in fields and the questions come from PopHost; MailWindowExists()
// also turns false when the job is told to stop.
class MailJobHost : public PopHost {
 public:
  virtual void ClearRows() = 0;
  // Appends `row` to the mail window's list as belonging to account slot
  // `account`; the account column shows the account's user name as it is now.
  virtual void AddRow(const MailListRow& row, int account) = 0;
  // As AddRow for each, in order: rows handed over in bulk.
  virtual void AddRows(std::span<const AccountRow> rows) {
    for (const AccountRow& r : rows) AddRow(r.row, r.account);
  }
  // The status line shows the number of listed messages.
  virtual void RefreshCount() = 0;
  // The mail window in its normal state at the top of the z-order, not moved or sized.
  virtual void ShowAndRaiseWindow() = 0;
  // Plays a sound file asynchronously, without the default sound.
  virtual void PlaySoundFile(std::string_view path) = 0;
  // Runs `line` as a fresh top-level run (nesting counted from 0) with
  // `context`, on the thread that runs the interpreter, and waits for it.
  virtual void RunLine(const MarkedLine& line, int context) = 0;
  // A check's result for account slot `account`, kept in the live check
  // list's entry of that slot while the account is still enabled.
  virtual void StoreState(int account, int message_count, std::string_view key_text) = 0;
  // The mail launcher is about to run the commands of the messages with
  // these identities: they are remembered (and kept with the settings at
  // once) so that they never run again.
  virtual void RememberLauncherRuns(std::span<const std::uint64_t> identities) = 0;
  // The mail window's text view: emptied, or given a whole text.
  virtual void ClearText() = 0;
  virtual void SetText(std::string_view text) = 0;
  // A show-message job for list row `row` has ended (the window then shows the
  // row selected meanwhile, once the job is over).
  virtual void MessageShown(int row) = 0;
  // Every job's last call: once it is carried out the job is over, another may
  // start, and after a check the automatic timer runs again.
  virtual void JobEnded() = 0;
  // Question box (question icon, Yes and No, No the default) owned by the
  // mail window; true for Yes.
  virtual bool AskDelete(std::string_view text, std::string_view caption) = 0;
  // Information box with OK owned by the mail window.
  virtual void TellDeleted(std::string_view text, std::string_view caption) = 0;
};

// The POP3 steps a check takes, over one connection at a time.
class MailServer {
 public:
  virtual ~MailServer() = default;
  // Logs in to account slot `account` (0-4); false reports the failure.
  virtual bool Connect(int account, int job_kind) = 0;
  virtual int Stat() = 0;  // message count, or -1
  // Header of message `number` into `header`; its size, or -1.
  virtual int FetchHeader(int number, std::string& header) = 0;
  // The unique id of message `number` into `uid`: empty when the server does
  // not offer UIDL. False when the connection failed (reported).
  virtual bool Uidl(int number, std::string& uid) = 0;
  // The number of bytes to download for message `number`, or 0.
  virtual int ListForDownload(int number) = 0;
  // Downloads message `number` into `text` (sized for `expected_size`);
  // false when the server refused.
  virtual bool Retrieve(int number, int expected_size, MessageText& text) = 0;
  // True when the server deleted message `number`.
  virtual bool Delete(int number) = 0;
  virtual void Quit() = 0;
};

// The real client over `sockets`, reporting to `host`.
class PopMailServer final : public MailServer {
 public:
  PopMailServer(SocketApi& sockets, PopHost& host, const PopSettings& settings)
      : sockets_(sockets), host_(host), settings_(settings) {}
  bool Connect(int account, int job_kind) override;
  int Stat() override;
  int FetchHeader(int number, std::string& header) override;
  int ListForDownload(int number) override;
  bool Uidl(int number, std::string& uid) override;
  bool Retrieve(int number, int expected_size, MessageText& text) override;
  bool Delete(int number) override;
  void Quit() override;

 private:
  SocketApi& sockets_;
  PopHost& host_;
  PopSettings settings_;
  std::unique_ptr<PopSession> session_;
  // The headers in order after Stat: pipelined when the server allows it.
  std::unique_ptr<PopHeaderSource> headers_;
};

// Runs one job to its end on the calling thread, JobEnded() last. Unknown
// kinds end at once.
void RunMailJob(const MailJobRequest& request, const MailJobSettings& settings,
                MailJobHost& host, MailServer& server);

// The checks (kinds 1 and 3). True when the last account was checked to its
// end (the status line then shows the count).
bool RunMailCheck(int kind, const MailJobSettings& settings, MailJobHost& host,
                  MailServer& server);

// Showing a message decoded or its source (kinds 4 and 5).
void RunShowJob(const MailJobRequest& request, const MailJobSettings& settings,
                MailJobHost& host, MailServer& server);

// Deleting a message after the user agreed, then a manual check (kind 6):
// only the message the user was asked about, or nothing. What the server
// holds under the message's number is compared with the listed row before the
// question and with the message asked about right before DELE (its UIDL where
// the server offers it, else its Message-ID and size).
void RunDeleteJob(const MailJobRequest& request, const MailJobSettings& settings,
                  MailJobHost& host, MailServer& server);

// The message's source: the (unstuffed) RETR answer after its first CRLF
// (empty without one).
std::string_view MailSourceText(std::string_view answer);

}  // namespace vsmr
