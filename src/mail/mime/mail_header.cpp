// Header field lookup and the MailRecord built from a message's header block.
#include <cstring>

#include "base/fixed_text.h"
#include "mail/mime/mail_ascii.h"
#include "mail/mime/mail_record.h"

namespace vsmr {
namespace {

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Cursor over the lines of a block; empty lines are skipped as if absent.
class LineReader {
 public:
  explicit LineReader(std::string_view block) : block_(block) {}
  bool Next(std::string_view& line) {
    while (pos_ < block_.size() && IsLineBreak(block_[pos_])) ++pos_;
    if (pos_ >= block_.size()) return false;
    std::size_t end = pos_;
    while (end < block_.size() && !IsLineBreak(block_[end])) ++end;
    line = block_.substr(pos_, end - pos_);
    pos_ = end;
    return true;
  }
  // Looks at the next non-empty line without consuming it.
  bool Peek(std::string_view& line) {
    std::size_t saved = pos_;
    bool found = Next(line);
    pos_ = saved;
    return found;
  }

 private:
  std::string_view block_;
  std::size_t pos_ = 0;
};

// Appends `text` to the value being built, cut at the buffer's width.
void AppendCut(char* value, std::size_t value_size, std::size_t& length, std::string_view text) {
  std::size_t room = value_size - 1 - length;
  std::size_t n = text.size() < room ? text.size() : room;
  std::memcpy(value + length, text.data(), n);
  length += n;
  value[length] = '\0';
}

}  // namespace

bool FindHeaderField(std::string_view header_block, std::string_view field_name, char* value,
                     std::size_t value_size) {
  if (value_size == 0) return false;
  value[0] = '\0';
  if (header_block.size() > kHeaderSearchLimit) header_block = header_block.substr(0, kHeaderSearchLimit);
  LineReader lines(header_block);
  std::string_view line;
  bool found = false;
  while (lines.Next(line)) {
    if (StartsWithNoCase(line, field_name)) {
      found = true;
      break;
    }
  }
  if (!found) return false;
  std::string_view rest = line.substr(field_name.size());
  // The blank after the colon separates; a value written straight after the
  // colon keeps its first character.
  if (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
  std::size_t length = 0;
  AppendCut(value, value_size, length, rest);
  while (lines.Peek(line) && IsBlank(line.front())) {
    lines.Next(line);
    std::size_t skip = 0;
    while (skip < line.size() && IsBlank(line[skip])) ++skip;
    AppendCut(value, value_size, length, line.substr(skip));
  }
  return length > 0;
}

bool ParseMailHeaders(std::string_view header_block, MailRecord& record) {
  record = MailRecord{};
  char value[kHeaderValueSize];

  auto decoded = [&](const char* name, auto& field, const char* fallback) {
    if (FindHeaderField(header_block, name, value, sizeof value)) {
      DecodeHeaderText(value, field.data, sizeof field.data);
    } else {
      field.Set(fallback);
    }
  };
  decoded("subject:", record.subject, kNoSubjectText);
  decoded("from:", record.from, kNoSenderText);
  decoded("to:", record.to, kNoRecipientText);
  if (FindHeaderField(header_block, "reply-to:", value, sizeof value)) {
    DecodeHeaderText(value, record.reply_to.data, sizeof record.reply_to.data);
  } else {
    record.reply_to.Set(record.from.View());
  }
  if (FindHeaderField(header_block, "date:", value, sizeof value)) {
    record.date.Set(value);
  } else {
    record.date.Set(kNoDateText);
  }
  if (FindHeaderField(header_block, "message-id:", value, sizeof value)) {
    record.message_id.Set(value);
  } else {
    record.message_id.Set(record.date.View());
  }
  if (FindHeaderField(header_block, "content-type:", value, sizeof value)) {
    record.content_type.Set(value);
  } else {
    record.content_type.Set("text/plain");
  }
  record.multipart = StartsWithNoCase(record.content_type.View(), "multipart") ? 1 : 0;
  return record.multipart != 0;
}

}  // namespace vsmr
