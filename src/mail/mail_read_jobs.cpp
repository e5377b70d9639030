// The jobs that read one message: showing it decoded or as its source, and
// deleting it after the user agreed (followed by a check of what remains).
#include <cstdio>
#include <memory>

#include "mail/mail_compose.h"
#include "mail/mail_job.h"
#include "mail/mail_record.h"
#include "mail/pop3_answer.h"
#include "mail/pop3_texts.h"

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
  const std::string from(record.from.View());
  const std::string subject(record.subject.View());
  const int size = std::snprintf(nullptr, 0, kMailDeleteQuestionFormat, from.c_str(),
                                 subject.c_str(), kMailDeleteWarning);
  std::string text(static_cast<std::size_t>(size) + 1, '\0');
  std::snprintf(text.data(), text.size(), kMailDeleteQuestionFormat, from.c_str(),
                subject.c_str(), kMailDeleteWarning);
  text.resize(static_cast<std::size_t>(size));
  return text;
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
  if (account >= 0 && server.Connect(account, kMailJobDelete)) {
    std::string header;
    server.FetchHeader(request.message_number, header);
    auto record = std::make_unique<MailRecord>();
    if (!header.empty()) ParseMailHeaders(header, *record);
    server.Quit();
    if (host.AskDelete(DeleteQuestion(*record), kMailDeleteCaption) &&
        server.Connect(account, kMailJobDelete)) {
      const bool deleted = server.Delete(request.message_number);
      server.Quit();
      if (deleted) host.TellDeleted(kMailDeletedText, kMailDeleteCaption);
    }
  }
  RunMailCheck(kMailJobManualCheck, settings, host, server);
}

}  // namespace vsmr
