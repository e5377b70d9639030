// The manual and automatic checks: every entry of the check list in order, each
// message listed, new mail told from old against the stored state and
// announced, the mail launcher's line collected; and the job dispatcher.
#include <memory>

#include "command/run_context.h"
#include "mail/jobs/mail_job.h"
#include "mail/jobs/mail_notify.h"
#include "mail/mime/mail_record.h"

namespace vsmr {

namespace {

int RowImage(bool is_new, bool multipart) {
  if (is_new) return multipart ? kMailImageNewMultipart : kMailImageNew;
  return multipart ? kMailImageMultipart : kMailImageNone;
}

// The account column is the window's to fill: it shows the live user name.
MailListRow MakeRow(const MailRecord& record, int number, int size, bool is_new) {
  MailListRow row;
  row.message.number = number;
  row.message.message_id.assign(record.message_id.View());
  row.message.size = size;
  row.sender = SenderListText(record.from.View());
  row.subject.assign(record.subject.View());
  row.date = FormatMailDate(record.date.View(), MailDateForm::kShort);
  row.size = std::to_string(size);
  row.image = RowImage(is_new, record.multipart != 0);
  return row;
}

}  // namespace

MailJobSettings CopyMailJobSettings(const SettingsState& settings) {
  MailJobSettings copy;
  copy.check_list = settings.check_list;
  for (int i = 0; i < kMailAccountCount; ++i) copy.accounts[i] = settings.accounts[i];
  copy.show_mail_dialog = settings.show_mail_dialog != 0;
  copy.mail_launcher_enabled = settings.mail_launcher_or_not != 0;
  copy.mail_launcher_word = settings.mail_launcher_command;
  copy.mail_launcher_runs = settings.mail_launcher_runs;
  copy.pop.timeout_seconds = settings.time_out;
  copy.pop.limit_mail_size = settings.limit_mail_size;
  return copy;
}

bool RunMailCheck(int kind, const MailJobSettings& settings, MailJobHost& host,
                  MailServer& server) {
  host.ShowStatus(kMailCheckingText);
  host.ClearRows();
  MailLauncherLine launcher(settings.mail_launcher_enabled, settings.mail_launcher_word.View(),
                            settings.mail_launcher_runs);
  // One record, reset for each message: it is large.
  auto record = std::make_unique<MailRecord>();
  std::string header;
  bool completed = false;
  const MailCheckList& list = settings.check_list;
  for (int index = 0; index < list.count; ++index) {
    const PreviousMailState& stored = list.entries[index];
    const MailAccount& account = settings.accounts[stored.account];
    completed = false;
    if (!server.Connect(stored.account, kind)) {
      host.ShowAndRaiseWindow();
      break;
    }
    const int count = server.Stat();
    if (count < 0) {
      server.Quit();
      break;
    }
    if (count == 0) {
      server.Quit();
      completed = true;
      continue;
    }
    bool is_new = false;
    FixedText<128> key;
    std::string sender;
    for (int number = 1; number <= count; ++number) {
      *record = MailRecord{};
      const int size = server.FetchHeader(number, header);
      if (size < 0) break;
      ParseMailHeaders(header, *record);
      if (number == 1) {
        key.Set(record->message_id.View());
        is_new = key.View() != stored.key_text.View();
      }
      is_new = is_new || number > stored.message_count;
      if (!host.MailWindowExists()) break;
      host.AddRow(MakeRow(*record, number, size, is_new), stored.account);
      sender.assign(record->from.View());
      launcher.Consider(record->subject.View(), is_new,
                        MailIdentity(record->message_id.View(), record->from.View(),
                                     record->subject.View()));
      completed = true;
    }
    if (!completed) {
      server.Quit();
      break;
    }
    if (is_new || kind == kMailJobManualCheck) {
      if (is_new && !account.sound_file.Empty()) host.PlaySoundFile(account.sound_file.View());
      if (settings.show_mail_dialog || kind == kMailJobManualCheck) host.ShowAndRaiseWindow();
      if (is_new) {
        host.RunLine(NewMailHookLine(stored.account, NewMailCount(count, stored.message_count),
                                     sender),
                     kContextLauncher);
      }
      host.StoreState(stored.account, count, key.View());
    }
    server.Quit();
    if (!host.MailWindowExists()) break;
    completed = true;
  }
  if (completed) host.RefreshCount();
  if (kind == kMailJobAutoCheck && !launcher.Text().empty()) {
    // Remembered before the run: whatever the commands do (a restart
    // included), they never run again.
    host.RememberLauncherRuns(launcher.Identities());
    // The mail launcher's line is a command line by design: all of it runs as written.
    host.RunLine(MarkedLine::Written(launcher.Text()), kContextEvent);
  }
  return completed;
}

void RunMailJob(const MailJobRequest& request, const MailJobSettings& settings,
                MailJobHost& host, MailServer& server) {
  switch (request.kind) {
    case kMailJobManualCheck:
    case kMailJobAutoCheck:
      RunMailCheck(request.kind, settings, host, server);
      break;
    case kMailJobShowMessage:
    case kMailJobShowSource:
      RunShowJob(request, settings, host, server);
      break;
    case kMailJobDelete:
      RunDeleteJob(request, settings, host, server);
      break;
    default:
      break;
  }
  host.JobEnded();
}

bool PopMailServer::Connect(int account, int job_kind) {
  headers_.reset();  // it refers to the session
  session_ = std::make_unique<PopSession>(sockets_, host_, settings_);
  return PopConnect(*session_, account, job_kind);
}

int PopMailServer::Stat() {
  if (!session_) return -1;
  const int count = PopStat(*session_);
  headers_ = std::make_unique<PopHeaderSource>(*session_, count);
  return count;
}

int PopMailServer::FetchHeader(int number, std::string& header) {
  header.clear();
  if (headers_) return headers_->Fetch(number, header);
  return session_ ? PopFetchHeader(*session_, number, header) : -1;
}

int PopMailServer::ListForDownload(int number) {
  return session_ ? PopListForDownload(*session_, number) : 0;
}

bool PopMailServer::Retrieve(int number, int expected_size, MessageText& text) {
  return session_ && PopRetrieve(*session_, text, number, expected_size);
}

bool PopMailServer::Uidl(int number, std::string& uid) {
  uid.clear();
  return session_ && PopUidl(*session_, number, uid);
}

bool PopMailServer::Delete(int number) { return session_ && PopDelete(*session_, number); }

void PopMailServer::Quit() {
  if (session_) PopQuit(*session_);
  headers_.reset();
  session_.reset();
}

}  // namespace vsmr
