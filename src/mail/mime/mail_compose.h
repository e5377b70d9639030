// The message view's text: the decoded header lines, the attachment line of a
// multipart message and the body converted to Shift-JIS.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "mail/mime/mail_charset.h"

namespace vsmr {

// The display text holds at most expected size + this many bytes (NUL included).
inline constexpr std::size_t kMailDisplaySpare = 16384;
// Attachment list of the message view (NUL included).
inline constexpr std::size_t kAttachmentListSize = 1024;

// The parts a multipart walk found to show, each decoded in place from its
// transfer encoding (in full when its charset is one that is read; otherwise
// only as quoted-printable's five sequences, as the first part says).
struct MailPartChoice {
  bool text_found = false;  // a text/plain part was taken
  MailCharset text_charset = MailCharset::kUnknown;
  char* html = nullptr;  // the first text/html part, or none
  MailCharset html_charset = MailCharset::kUnknown;
};

// Walks the parts of a multipart `body` (NUL-terminated, terminated in place
// between parts) whose boundary is given by `content_type`. Returns the start
// of the text to show: the first text/plain part, or `body` itself. Appends
// HTML-part and named-attachment notes to the NUL-terminated `attachments` of
// `attachments_size` bytes. `choice`, when given, says what was found.
char* WalkMultipart(char* body, std::string_view content_type, char* attachments,
                    std::size_t attachments_size, MailPartChoice* choice = nullptr);

// Builds the mail window's text from a retrieved message (the RETR answer, its
// status line included) whose LIST size was `expected_size`: header lines, the
// attachment line for multipart mail, an empty line and the converted body:
// the message's text, or its first text/plain part, else its first text/html
// part turned into text, in the charset its Content-Type names.
std::string ComposeMailText(std::string_view message, std::size_t expected_size);

// The same on the mail job's own buffers: `message` (NUL-terminated, decoded
// and split in place) into `display` of `display_size` bytes (normally
// expected_size + kMailDisplaySpare), always terminated. Returns the length.
std::size_t ComposeMailText(char* message, std::size_t expected_size, char* display,
                            std::size_t display_size);

}  // namespace vsmr
