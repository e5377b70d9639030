// The jobs that read one message: showing it decoded or as its source, and
// deleting it after the user agreed (followed by a check of what remains),
// only while the server still holds it under its number.
#include <memory>
#include <string>
#include <string_view>

#include "mail/jobs/mail_job.h"
#include "mail/mime/mail_compose.h"
#include "mail/mime/mail_record.h"
#include "mail/pop3/pop3_answer.h"
#include "mail/pop3/pop3_texts.h"

namespace vsmr {

namespace {

// Account slot `account` when the check list has it (it is enabled), else -1.
int AccountOf(const MailJobSettings& settings, int account) {
  for (int i = 0; i < settings.check_list.count && i < kMailAccountCount; ++i) {
    if (settings.check_list.entries[i].account == account) return account;
  }
  return -1;
}

std::string DeleteQuestion(const MailRecord& record) {
  // The format's three %s in order: sender, subject, warning. '%' is never a trail
  // byte of a double-byte character, so the search cannot split one.
  const std::string_view values[] = {record.from.View(), record.subject.View(),
                                     kMailDeleteWarning};
  std::string_view format = kMailDeleteQuestionFormat;
  std::string text;
  for (std::string_view value : values) {
    const std::size_t at = format.find("%s");
    text.append(format.substr(0, at)).append(value);
    format.remove_prefix(at + 2);
  }
  return text.append(format);
}

// What tells one message from another on its server.
struct MessageIdentity {
  std::string uid;  // UIDL; empty where the server does not offer it
  std::string message_id;
  int size = -1;
};

// The identity of message `number` on the connected server: its UIDL, and
// (unless `uid_only`) its header's Message-ID and its size, with the header
// parsed into `record` when given. False when it could not be read.
bool ReadIdentity(MailServer& server, int number, MessageIdentity& identity, MailRecord* record,
                  bool uid_only = false) {
  if (!server.Uidl(number, identity.uid)) return false;
  if (uid_only) return true;
  std::string header;
  identity.size = server.FetchHeader(number, header);
  if (header.empty() || identity.size < 0) return false;
  auto parsed = std::make_unique<MailRecord>();
  MailRecord& r = record ? *record : *parsed;
  ParseMailHeaders(header, r);
  identity.message_id.assign(r.message_id.View());
  return true;
}

// The same message: by UIDL where both have one, else by Message-ID and size.
bool SameMessage(const MessageIdentity& a, const MessageIdentity& b) {
  if (!a.uid.empty() || !b.uid.empty()) return a.uid == b.uid;
  return a.message_id == b.message_id && a.size == b.size;
}

// Whether the message read now is the row's: the row knows the Message-ID and
// size the check saw (nothing to compare for a row without them).
bool SameAsListed(const MailMessageRef& listed, const MessageIdentity& now) {
  if (listed.size < 0) return true;
  return listed.message_id == now.message_id && listed.size == now.size;
}

}  // namespace

std::string_view MailSourceText(std::string_view answer) {
  const std::size_t line_end = answer.find("\r\n");
  return line_end == std::string_view::npos ? std::string_view() : answer.substr(line_end + 2);
}

void RunShowJob(const MailJobRequest& request, const MailJobSettings& settings,
                MailJobHost& host, MailServer& server) {
  host.ShowStatus(kMailFetchingText);
  bool shown = false;
  const int account = AccountOf(settings, request.account);
  if (account >= 0 && server.Connect(account, request.kind)) {
    const int expected = server.ListForDownload(request.message_number);
    if (expected > 0) {
      host.ClearText();
      MessageText message;
      if (!AllocateMessageText(message, expected)) {
        host.ShowStatus(pop3_text::kOutOfMemory);
        host.SetStatusWord(pop3_text::kErrMemory);
      } else if (server.Retrieve(request.message_number, expected, message)) {
        // The view, its copy and its saved text show the message as it was sent.
        const std::string sent = UnstuffMultiLineAnswer(message.View());
        if (request.kind == kMailJobShowMessage) {
          host.SetText(ComposeMailText(sent, static_cast<std::size_t>(expected)));
        } else {
          host.SetText(MailSourceText(sent));
        }
        shown = true;
      }
    }
    server.Quit();
  }
  if (shown) host.RefreshCount();
  if (request.kind == kMailJobShowMessage) host.MessageShown(request.list_row);
}

void RunDeleteJob(const MailJobRequest& request, const MailJobSettings& settings,
                  MailJobHost& host, MailServer& server) {
  const int account = AccountOf(settings, request.account);
  const int number = request.message_number;
  bool changed = false;
  if (account >= 0 && server.Connect(account, kMailJobDelete)) {
    MessageIdentity asked;
    auto record = std::make_unique<MailRecord>();
    const bool read = ReadIdentity(server, number, asked, record.get());
    server.Quit();
    // The list was made before: the number may stand for another message now.
    changed = read && !SameAsListed(request.listed, asked);
    if (read && !changed && host.AskDelete(DeleteQuestion(*record), kMailDeleteCaption) &&
        server.Connect(account, kMailJobDelete)) {
      // Right before DELE: is it still the message the user was asked about?
      MessageIdentity now;
      bool deleted = false;
      if (ReadIdentity(server, number, now, nullptr, !asked.uid.empty())) {
        changed = !SameMessage(asked, now);
        if (!changed) deleted = server.Delete(number);
      }
      server.Quit();
      if (deleted) host.TellDeleted(kMailDeletedText, kMailDeleteCaption);
    }
  }
  // The check lists what remains; the status line then says why nothing was deleted.
  if (RunMailCheck(kMailJobManualCheck, settings, host, server) && changed) {
    host.ShowStatus(kMailDeleteChangedText);
  }
}

}  // namespace vsmr
