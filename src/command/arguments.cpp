// Splitting a command's arguments (spaces, double quotes, backslash escapes
// before a quote) and resolving #name references to command bodies.
#include <cstring>

#include "base/sjis.h"
#include "command/interpreter.h"

namespace vsmr {
namespace {

// True when `text` begins with `name`, compared as SjisEqualIgnoringCase does.
bool BeginsWithNoCase(const char* text, std::string_view name) {
  std::string_view begin(text, strnlen(text, name.size()));
  return begin.size() == name.size() && SjisEqualIgnoringCase(begin, name);
}

// Ends a quoted argument that begins at `text + pos`: removes the escaping
// backslashes in place, moving the value's bytes down; `value_end` receives
// where the value now ends. Returns the position of the closing quote, or the
// end of the text when there is none.
std::size_t EndQuoted(char* text, std::size_t pos, std::size_t& value_end) {
  std::size_t out = pos;
  std::size_t in = pos;
  while (text[in] != '\0') {
    unsigned char c = static_cast<unsigned char>(text[in]);
    if (IsSjisLeadByte(c) && text[in + 1] != '\0') {
      // A double-byte character whose trail byte is 0x5C is no backslash.
      text[out++] = text[in++];
      text[out++] = text[in++];
      continue;
    }
    if (c == '\\') {
      std::size_t run = 0;
      while (text[in + run] == '\\') ++run;
      if (text[in + run] != '"') {
        for (std::size_t k = 0; k < run; ++k) text[out++] = '\\';
        in += run;
        continue;
      }
      for (std::size_t k = 0; k < run / 2; ++k) text[out++] = '\\';
      in += run;
      if (run % 2 == 1) {
        text[out++] = '"';
        ++in;
        continue;
      }
    }
    if (text[in] == '"') break;
    text[out++] = text[in++];
  }
  value_end = out;
  return in;
}

}  // namespace

const char* ResolveReference(const CommandList& commands, const char* text) {
  if (text[0] != '#') return text;
  for (int i = 0; i < commands.count; ++i) {
    const CommandEntry& entry = commands.entries[i];
    // An unnamed entry would match every reference; it is never meant by one.
    if (entry.name.Empty()) continue;
    if (BeginsWithNoCase(text + 1, entry.name.View())) return entry.body.c_str();
  }
  return text;
}

int SplitArguments(const CommandList& commands, char* text, ArgumentVector& arguments,
                   std::size_t start) {
  arguments.count = 0;
  std::size_t length = std::strlen(text);
  if (start > length) return 0;
  const char* space = std::strchr(text + start, ' ');
  if (space == nullptr) return 0;
  std::size_t pos = static_cast<std::size_t>(space - text);
  while (arguments.count < ArgumentVector::kSlots) {
    while (text[pos] == ' ') ++pos;
    if (text[pos] == '\0') break;
    bool quoted = text[pos] == '"' && text[pos + 1] != '\0';
    if (quoted) ++pos;
    // A reference is resolved on the argument's text as it stands in the line.
    arguments.slot[arguments.count++] = ResolveReference(commands, text + pos);
    std::size_t end;
    std::size_t value_end;
    if (quoted) {
      end = EndQuoted(text, pos, value_end);
    } else {
      end = pos;
      while (text[end] != '\0' && text[end] != ' ') ++end;
      value_end = end;
    }
    bool last = text[end] == '\0' || text[end + 1] == '\0';
    text[value_end] = '\0';
    if (last) break;
    pos = end + 1;
  }
  return arguments.count;
}

}  // namespace vsmr
