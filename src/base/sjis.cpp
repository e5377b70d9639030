// Character-aware searches over code page 932 text.
#include "base/sjis.h"

namespace vsmr {

std::size_t FindSjisChar(std::string_view text, char ch, std::size_t from) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsSjisLeadByte(c) && i + 1 < text.size()) {
      ++i;  // skip the trail byte
      continue;
    }
    if (i >= from && text[i] == ch) return i;
  }
  return std::string_view::npos;
}

std::size_t FindLastSjisChar(std::string_view text, char ch) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsSjisLeadByte(c) && i + 1 < text.size()) {
      ++i;
      continue;
    }
    if (text[i] == ch) found = i;
  }
  return found;
}

bool SjisEqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (IsSjisLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

std::size_t SjisCutLength(std::string_view text, std::size_t max_bytes) {
  if (text.size() <= max_bytes) return text.size();
  std::size_t i = 0;
  while (i < max_bytes) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t step = (IsSjisLeadByte(c) && i + 1 < text.size()) ? 2 : 1;
    if (i + step > max_bytes) break;
    i += step;
  }
  return i;
}

}  // namespace vsmr
