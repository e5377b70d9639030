// Splitting the compound values of vsmrsys.ini into fields, and reading their
// numeric fields, without ever reading or writing past the value or a field.
#pragma once
#include <cstdint>
#include <string_view>

#include "base/fixed_text.h"

namespace vsmr {

// Walks a compound value field by field. Fields are separated by single
// separator bytes exactly as written (a field may be empty); once the value
// has ended, every later field is empty. Separators are ASCII control or
// punctuation bytes below 0x40, which no Shift-JIS trail byte equals.
class FieldCursor {
 public:
  explicit FieldCursor(std::string_view value) : rest_(value) {}

  // The text up to the next `separator` (or to the end of the value).
  std::string_view Next(char separator);
  // Everything not yet taken, separators included.
  std::string_view Rest();

 private:
  std::string_view rest_;
  bool ended_ = false;
};

// The leading signed decimal number of `text`, by the same rule as an integer
// key: an optional sign and digits; no digits read as 0.
std::int32_t NumericField(std::string_view text);

// A record field as it is written: at most N - 1 bytes, even if something
// filled the whole array without a terminator.
template <std::size_t N>
std::string_view StoredText(const FixedText<N>& field) {
  return field.View().substr(0, N - 1);
}

// Builds a compound value for writing: numbers as "%d" (or "%02d"), text
// fields and separators. The longest value the program writes (an account:
// 11 + 4 + 255 + 63 + 63 + 259 bytes) fits; anything beyond is cut, never
// written past the buffer.
class CompoundText {
 public:
  CompoundText& Number(std::int32_t value);
  CompoundText& TwoDigits(std::int32_t value);
  CompoundText& Char(char c) { return Text(std::string_view(&c, 1)); }
  CompoundText& Text(std::string_view text);
  void Clear() { size_ = 0; }
  std::string_view View() const { return std::string_view(buffer_, size_); }

 private:
  char buffer_[1024];
  std::size_t size_ = 0;
};

}  // namespace vsmr
