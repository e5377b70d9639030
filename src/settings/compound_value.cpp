// Field splitting and leading-number parsing for compound settings values.
#include "settings/compound_value.h"

#include <cstdio>
#include <cstring>

#include "profile/profile_syntax.h"

namespace vsmr {
namespace {

// An empty field that still points at readable bytes: copying routines may
// hand its data pointer to memcpy.
constexpr std::string_view kEmpty = "";

}  // namespace

std::string_view FieldCursor::Next(char separator) {
  if (ended_) return kEmpty;
  std::size_t at = rest_.find(separator);
  if (at == std::string_view::npos) {
    std::string_view field = rest_;
    rest_ = kEmpty;
    ended_ = true;
    return field;
  }
  std::string_view field = rest_.substr(0, at);
  rest_.remove_prefix(at + 1);
  return field;
}

std::string_view FieldCursor::Rest() {
  if (ended_) return kEmpty;
  std::string_view field = rest_;
  rest_ = kEmpty;
  ended_ = true;
  return field;
}

std::int32_t NumericField(std::string_view text) { return profile::LeadingInt(text); }

CompoundText& CompoundText::Number(std::int32_t value) {
  char digits[16];
  int n = std::snprintf(digits, sizeof digits, "%d", static_cast<int>(value));
  return Text(std::string_view(digits, static_cast<std::size_t>(n)));
}

CompoundText& CompoundText::TwoDigits(std::int32_t value) {
  char digits[16];
  int n = std::snprintf(digits, sizeof digits, "%02d", static_cast<int>(value));
  return Text(std::string_view(digits, static_cast<std::size_t>(n)));
}

CompoundText& CompoundText::Text(std::string_view text) {
  std::size_t room = sizeof buffer_ - size_;
  std::size_t n = text.size() < room ? text.size() : room;
  std::memcpy(buffer_ + size_, text.data(), n);
  size_ += n;
  return *this;
}

}  // namespace vsmr
