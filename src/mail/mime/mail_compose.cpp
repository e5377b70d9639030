// The message view's text: header lines, attachment line and the body (or its
// first text/plain part, else its first text/html part as text) converted from
// its charset.
#include "mail/mime/mail_compose.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "base/sjis.h"
#include "mail/mime/mail_ascii.h"
#include "mail/mime/mail_codec.h"
#include "mail/mime/mail_html.h"
#include "mail/mime/mail_record.h"

namespace vsmr {
namespace {

constexpr std::size_t kHeaderLinesSize = 1024;

// Appends to the display text, cut at whole characters when it is full.
class DisplayWriter {
 public:
  DisplayWriter(char* display, std::size_t size) : display_(display), size_(size) {
    display_[0] = '\0';
  }
  // Returns false when the text was cut.
  bool Append(std::string_view text, std::size_t limit) {
    std::size_t room = (limit < size_ ? limit : size_) - 1;
    room = room > length_ ? room - length_ : 0;
    std::size_t n = SjisCutLength(text, room);
    if (n > 0) std::memcpy(display_ + length_, text.data(), n);
    length_ += n;
    display_[length_] = '\0';
    return n == text.size();
  }
  bool Append(std::string_view text) { return Append(text, size_); }
  void AppendConverted(MailCharset charset, std::string_view text, std::size_t step_limit) {
    length_ += ConvertToShiftJis(charset, text, display_ + length_, size_ - length_, step_limit);
  }
  // HTML in `charset` as text: converted first (into a buffer of its own, as
  // large as the rest of the display text may become), then read as HTML.
  void AppendHtml(MailCharset charset, std::string_view html, std::size_t step_limit) {
    const std::size_t room = size_ - length_;
    auto converted = std::make_unique_for_overwrite<char[]>(room);
    const std::size_t n = ConvertToShiftJis(charset, html, converted.get(), room, step_limit);
    length_ += HtmlToText(std::string_view(converted.get(), n), display_ + length_, room);
  }
  std::size_t length() const { return length_; }

 private:
  char* display_;
  std::size_t size_;
  std::size_t length_ = 0;
};

}  // namespace

std::size_t ComposeMailText(char* message, std::size_t expected_size, char* display,
                            std::size_t display_size) {
  if (display_size == 0) return 0;
  std::size_t message_length = std::strlen(message);
  char* body = message + message_length;
  if (char* blank_line = std::strstr(message, "\r\n\r\n")) {
    *blank_line = '\0';
    body = blank_line + 4;
  }
  std::string_view header_block(message, std::strlen(message));
  // The body runs to the message's end (conversion stops at its first zero byte).
  std::size_t body_length = message + message_length - body;

  MailRecord record{};
  ParseMailHeaders(header_block, record);
  const std::string_view content_type = record.content_type.View();
  // The body's own charset decides how far it is decoded: in full in a charset
  // that is read, else the five quoted-printable sequences as always.
  MailCharset charset = MailCharset::kUnknown;
  bool html = false;
  if (content_type.find("multipart") != std::string_view::npos) {
    DecodeQuotedPrintable(header_block, body);
  } else {
    charset = ContentTypeCharset(content_type);
    html = StartsWithNoCase(content_type, "text/html");
    if (charset == MailCharset::kUnknown) {
      DecodeQuotedPrintable(header_block, body);
    } else {
      body_length = DecodeTransferEncoding(TransferEncodingOf(header_block), body);
    }
  }

  DisplayWriter writer(display, display_size);
  // The header lines are cut at kHeaderLinesSize - 1 bytes together: nothing
  // after the first cut.
  std::string date = FormatMailDate(record.date.View(), MailDateForm::kLong);
  const std::string_view reply_label = record.reply_to.View() != record.from.View()
                                           ? std::string_view("\r\n返信先: ")
                                           : std::string_view();
  const std::string_view reply = reply_label.empty() ? std::string_view() : record.reply_to.View();
  for (std::string_view piece : {std::string_view("送信者: "), record.from.View(), reply_label, reply,
                                 std::string_view("\r\n宛先  : "), record.to.View(),
                                 std::string_view("\r\n件名  : "), record.subject.View(),
                                 std::string_view("\r\n日付  : "), std::string_view(date),
                                 std::string_view("\r\n")}) {
    if (!writer.Append(piece, kHeaderLinesSize)) break;
  }

  char* shown = body;
  if (content_type.find("multipart") != std::string_view::npos) {
    char attachments[kAttachmentListSize] = {};
    MailPartChoice choice;
    shown = WalkMultipart(body, content_type, attachments, sizeof attachments, &choice);
    if (choice.text_found) {
      charset = choice.text_charset;
    } else if (choice.html != nullptr) {
      shown = choice.html;
      charset = choice.html_charset;
      html = true;
    }
    body_length = std::strlen(shown);
    std::size_t list_length = std::strlen(attachments);
    if (list_length > 3) attachments[list_length - 2] = '\0';  // the trailing ", "
    writer.Append("添付  : ");
    writer.Append(attachments);
    writer.Append("\r\n");
  }
  writer.Append("\r\n\r\n");
  if (html) {
    writer.AppendHtml(charset, std::string_view(shown, body_length), expected_size);
  } else {
    writer.AppendConverted(charset, std::string_view(shown, body_length), expected_size);
  }
  return writer.length();
}

std::string ComposeMailText(std::string_view message, std::size_t expected_size) {
  auto work = std::make_unique_for_overwrite<char[]>(message.size() + 1);
  std::memcpy(work.get(), message.data(), message.size());
  work[message.size()] = '\0';
  // A body step emits at most two bytes: a LIST size far above the message's
  // own cannot make the text longer, only the buffer.
  std::size_t display_size = std::min(expected_size, 2 * message.size()) + kMailDisplaySpare;
  std::string display(display_size, '\0');
  display.resize(ComposeMailText(work.get(), expected_size, display.data(), display.size()));
  return display;
}

}  // namespace vsmr
