// CopyCut: the one place where text is cut to a fixed field width.
#include "base/fixed_text.h"

namespace vsmr {

std::size_t CopyCut(char* dest, std::size_t capacity, std::string_view text) {
  if (capacity == 0) return 0;
  std::size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
  std::memmove(dest, text.data(), n);
  dest[n] = '\0';
  return n;
}

}  // namespace vsmr
