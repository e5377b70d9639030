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
