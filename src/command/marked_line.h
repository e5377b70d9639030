// A command line that the program builds around text it did not write: a mail
// sender's address and name, the names of dropped files. Each byte carries a
// mark saying where it came from; inserted bytes are always plain text. They
// never separate segments (" & ") or arguments, never open, close or escape a
// quote, never name a #reference, never take part in a placeholder, and a
// segment that begins with one is not run. Bytes the user wrote (the command
// list, a typed line, an item's path) keep every rule of the language.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace vsmr {

// A view of a marked line: `marks` is empty (everything written by the user)
// or as long as `text`.
struct MarkedView {
  std::string_view text;
  std::string_view marks;

  bool Inserted(std::size_t i) const { return i < marks.size() && marks[i] != 0; }
  // The first occurrence of `pattern` at or after `from` of which the user
  // wrote every byte, or npos.
  std::size_t FindWritten(std::string_view pattern, std::size_t from = 0) const;
  // The bytes from `from` to the end, marks alongside.
  MarkedView From(std::size_t from) const;
  // The first `length` bytes.
  MarkedView Prefix(std::size_t length) const;
};

struct MarkedLine {
  std::string text;
  std::string marks;  // one byte per byte of text: 1 inserted, 0 written

  // Text the user wrote (a stored command, a typed line).
  static MarkedLine Written(std::string_view text);
  void AddWritten(std::string_view part);
  void AddInserted(std::string_view part);
  void Add(MarkedView part);
  // Keeps the first `length` bytes.
  void Cut(std::size_t length);
  MarkedView View() const { return {text, marks}; }
};

}  // namespace vsmr
