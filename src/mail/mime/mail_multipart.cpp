// Multipart walking for the message view: finds the first text/plain part and
// the first text/html part, descending into nested multiparts, decodes them,
// and notes HTML parts and named attachments.
#include <cstring>
#include <string>

#include "mail/mime/mail_ascii.h"
#include "mail/mime/mail_codec.h"
#include "mail/mime/mail_compose.h"
#include "mail/mime/mail_record.h"

namespace vsmr {
namespace {

constexpr std::size_t kBoundarySize = 128;
constexpr std::size_t kPartHeaderSize = 1024;
constexpr std::size_t kPartTypeSize = 256;
// Nesting deeper than this is shown as raw text: real mail nests a few levels,
// and the limit keeps a hostile message from exhausting the worker's stack.
constexpr int kMaxNesting = 32;

// The quoted boundary of a Content-Type value, cut at kBoundarySize - 1 bytes;
// empty when there is none (unquoted boundaries are not recognised).
std::string_view QuotedBoundary(std::string_view content_type, char (&boundary)[kBoundarySize]) {
  std::size_t at = content_type.find("boundary=");
  if (at == std::string_view::npos) return {};
  std::size_t open = content_type.find('"', at);
  if (open == std::string_view::npos) return {};
  std::size_t close = content_type.find('"', open + 1);
  if (close == std::string_view::npos) return {};
  std::size_t n = CopyCut(boundary, sizeof boundary, content_type.substr(open + 1, close - open - 1));
  return std::string_view(boundary, n);
}

void AppendCut(char* list, std::size_t list_size, std::string_view text) {
  std::size_t length = ::strnlen(list, list_size - 1);
  std::size_t n = text.size() < list_size - 1 - length ? text.size() : list_size - 1 - length;
  std::memcpy(list + length, text.data(), n);
  list[length + n] = '\0';
}

void NoteAttachment(std::string_view part_type, char* list, std::size_t list_size) {
  if (StartsWithNoCase(part_type, "text/html")) {
    CopyCut(list, list_size, "HTMLファイル, ");
    return;
  }
  std::size_t at = part_type.find("name=\"");
  if (at == std::string_view::npos) return;
  std::string_view name = part_type.substr(at + 6);
  name = name.substr(0, name.find('"'));
  AppendCut(list, list_size, "\"");
  AppendCut(list, list_size, name);
  AppendCut(list, list_size, "\", ");
}

// Decodes a part to show in place. In a charset that is read, its own
// Content-Transfer-Encoding applies in full; otherwise the five
// quoted-printable sequences, as the walked body's first part header says.
MailCharset DecodePart(const char* walked_body, char* part_body, std::string_view part_header,
                       std::string_view part_type) {
  const MailCharset charset = ContentTypeCharset(part_type);
  if (charset == MailCharset::kUnknown) {
    DecodeQuotedPrintable(std::string_view(walked_body, ::strnlen(walked_body, kEncodingSearchLimit)),
                          part_body);
  } else {
    DecodeTransferEncoding(TransferEncodingOf(part_header), part_body);
  }
  return charset;
}

// Ends a part's text at its last CR (the line break before the boundary).
void CutAtLastCr(char* part_body) {
  if (char* last_cr = std::strrchr(part_body, '\r')) *last_cr = '\0';
}

// `choice.text_found` tells whether the result is a text/plain part.
char* Walk(char* body, std::string_view content_type, char* list, std::size_t list_size, int depth,
           MailPartChoice& choice) {
  char* result = body;
  bool text_found = false;
  char boundary_text[kBoundarySize];
  std::string_view boundary = QuotedBoundary(content_type, boundary_text);
  if (boundary.empty()) return result;
  std::string needle(boundary);
  char* position = std::strstr(body, needle.c_str());
  while (position != nullptr) {
    char* blank_line = std::strstr(position, "\r\n\r\n");
    if (blank_line == nullptr) break;
    *blank_line = '\0';
    char* part_body = blank_line + 4;
    char part_header[kPartHeaderSize];
    CopyCut(part_header, sizeof part_header, position);
    char part_type[kPartTypeSize];
    if (!FindHeaderField(part_header, "content-type:", part_type, sizeof part_type)) break;

    if (StartsWithNoCase(part_type, "multipart")) {
      position = std::strstr(part_body, needle.c_str());
      choice.text_found = false;
      result = depth < kMaxNesting ? Walk(part_body, part_type, list, list_size, depth + 1, choice)
                                   : part_body;
      text_found = true;
    } else if (StartsWithNoCase(part_type, "text/plain") && !text_found) {
      char* next = std::strstr(part_body, needle.c_str());
      position = nullptr;
      if (next != nullptr) {
        next[-1] = '\0';
        position = next + 1;
      }
      CutAtLastCr(part_body);
      choice.text_charset = DecodePart(body, part_body, part_header, part_type);
      choice.text_found = true;
      result = part_body;
      text_found = true;
    } else {
      NoteAttachment(part_type, list, list_size);
      char* next = std::strstr(part_body, needle.c_str());
      position = nullptr;
      if (next != nullptr) {
        *next = '\0';
        position = next + 1;
      }
      if (choice.html == nullptr && StartsWithNoCase(part_type, "text/html")) {
        CutAtLastCr(part_body);
        choice.html_charset = DecodePart(body, part_body, part_header, part_type);
        choice.html = part_body;
      }
    }
  }
  return result;
}

}  // namespace

char* WalkMultipart(char* body, std::string_view content_type, char* attachments,
                    std::size_t attachments_size, MailPartChoice* choice) {
  MailPartChoice unused;
  if (choice == nullptr) choice = &unused;
  *choice = MailPartChoice{};
  if (attachments_size == 0) return body;
  return Walk(body, content_type, attachments, attachments_size, 0, *choice);
}

}  // namespace vsmr
