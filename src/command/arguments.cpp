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

// Whether byte `i` was inserted by the program rather than written by the user.
bool Inserted(const char* marks, std::size_t i) { return marks != nullptr && marks[i] != 0; }

// Ends a quoted argument that begins at `text + pos`: removes the escaping
// backslashes in place, moving the value's bytes (and their marks) down;
// `value_end` receives where the value now ends. Returns the position of the
// closing quote, or the end of the text when there is none. Inserted bytes are
// copied as they are: they neither escape nor close.
std::size_t EndQuoted(char* text, char* marks, std::size_t pos, std::size_t& value_end) {
  std::size_t out = pos;
  std::size_t in = pos;
  auto copy = [&] {
    if (marks != nullptr) marks[out] = marks[in];
    text[out++] = text[in++];
  };
  while (text[in] != '\0') {
    unsigned char c = static_cast<unsigned char>(text[in]);
    if (IsSjisLeadByte(c) && text[in + 1] != '\0' &&
        Inserted(marks, in) == Inserted(marks, in + 1)) {
      // A double-byte character whose trail byte is 0x5C is no backslash. An
      // inserted lone lead byte never takes the written quote after it.
      copy();
      copy();
      continue;
    }
    if (Inserted(marks, in)) {
      copy();
      continue;
    }
    if (c == '\\') {
      std::size_t run = 0;
      while (text[in + run] == '\\' && !Inserted(marks, in + run)) ++run;
      if (text[in + run] != '"' || Inserted(marks, in + run)) {
        for (std::size_t k = 0; k < run; ++k) copy();
        continue;
      }
      for (std::size_t k = 0; k < run / 2; ++k) {
        if (marks != nullptr) marks[out] = 0;
        text[out++] = '\\';
      }
      in += run;
      if (run % 2 == 1) {
        if (marks != nullptr) marks[out] = 0;
        text[out++] = '"';
        ++in;
        continue;
      }
    }
    if (text[in] == '"') break;
    copy();
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
  return SplitArguments(commands, text, nullptr, arguments, start);
}

int SplitArguments(const CommandList& commands, char* text, char* marks, ArgumentVector& arguments,
                   std::size_t start) {
  arguments.count = 0;
  std::size_t length = std::strlen(text);
  if (start > length) return 0;
  auto separates = [&](std::size_t i) { return text[i] == ' ' && !Inserted(marks, i); };
  std::size_t pos = start;
  while (text[pos] != '\0' && !separates(pos)) ++pos;
  if (text[pos] == '\0') return 0;
  while (arguments.count < ArgumentVector::kSlots) {
    while (separates(pos)) ++pos;
    if (text[pos] == '\0') break;
    bool quoted = text[pos] == '"' && !Inserted(marks, pos) && text[pos + 1] != '\0';
    if (quoted) ++pos;
    // A reference is resolved on the argument's text as it stands in the line;
    // a "#" the program inserted names nothing.
    const int k = arguments.count++;
    arguments.slot[k] =
        Inserted(marks, pos) ? text + pos : ResolveReference(commands, text + pos);
    const bool in_line = arguments.slot[k] == text + pos;
    arguments.marks[k] = in_line && marks != nullptr ? marks + pos : nullptr;
    std::size_t end;
    std::size_t value_end;
    if (quoted) {
      end = EndQuoted(text, marks, pos, value_end);
    } else {
      end = pos;
      while (text[end] != '\0' && !separates(end)) ++end;
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
