// The message view's text: header lines, attachment line and the body (or its
// first text/plain part) converted from ISO-2022-JP.
#include "mail/mail_compose.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/sjis.h"
#include "mail/mail_codec.h"
#include "mail/mail_record.h"

namespace vsmr {
namespace {

constexpr std::size_t kHeaderLinesSize = 1024;

void AppendCut(std::string& text, std::size_t capacity, std::string_view more) {
  std::size_t room = capacity - 1 - text.size();
  text.append(more.substr(0, SjisCutLength(more, room)));
}

}  // namespace

std::string ComposeMailText(std::string_view message, std::size_t expected_size) {
  // Work on a NUL-terminated copy: the body is decoded and split in place.
  std::vector<char> work(message.size() + 1);
  std::memcpy(work.data(), message.data(), message.size());
  work[message.size()] = '\0';
  char* headers = work.data();
  char* body = work.data() + message.size();
  if (char* blank_line = std::strstr(headers, "\r\n\r\n")) {
    *blank_line = '\0';
    body = blank_line + 4;
  }
  std::string_view header_block(headers, std::strlen(headers));

  MailRecord record{};
  ParseMailHeaders(header_block, record);
  DecodeQuotedPrintable(header_block, body);

  std::string reply_line;
  if (record.reply_to.View() != record.from.View()) {
    reply_line = "\r\n返信先: ";
    reply_line += record.reply_to.View();
  }
  std::string date = FormatMailDate(record.date.View(), MailDateForm::kLong);
  std::string lines = "送信者: ";
  lines += record.from.View();
  lines += reply_line;
  lines += "\r\n宛先  : ";
  lines += record.to.View();
  lines += "\r\n件名  : ";
  lines += record.subject.View();
  lines += "\r\n日付  : ";
  lines += date;
  lines += "\r\n";

  const std::size_t capacity = expected_size + kMailDisplaySpare;
  std::string text;
  text.reserve(capacity);
  AppendCut(text, kHeaderLinesSize, lines);

  char* shown = body;
  if (record.content_type.View().find("multipart") != std::string_view::npos) {
    char attachments[kAttachmentListSize] = {};
    shown = WalkMultipart(body, record.content_type.View(), attachments, sizeof attachments);
    std::size_t list_length = std::strlen(attachments);
    if (list_length > 3) attachments[list_length - 2] = '\0';  // the trailing ", "
    AppendCut(text, capacity, "添付  : ");
    AppendCut(text, capacity, attachments);
    AppendCut(text, capacity, "\r\n");
  }
  AppendCut(text, capacity, "\r\n\r\n");

  std::size_t used = text.size();
  text.resize(capacity - 1);
  std::size_t converted = JisToShiftJis(std::string_view(shown, std::strlen(shown)),
                                        text.data() + used, capacity - used, expected_size);
  text.resize(used + converted);
  return text;
}

}  // namespace vsmr
