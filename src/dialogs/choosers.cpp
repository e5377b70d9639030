// Portable part of the choosers: putting a chosen path into the caller's buffer.
#include "dialogs/choosers.h"

#include <cstdio>
#include <cstring>

#include "base/sjis.h"

namespace vsmr {

int StoreChosenPath(char* path, std::size_t capacity, std::string_view chosen) {
  if (capacity == 0) return 0;
  std::size_t n = SjisCutLength(chosen, capacity - 1);
  std::memcpy(path, chosen.data(), n);
  path[n] = '\0';
  return 1;
}

std::string PathTooLongNotice(std::size_t capacity) {
  const int limit = capacity > 0 ? static_cast<int>(capacity - 1) : 0;
  char text[256];
  std::snprintf(text, sizeof text,
                "選んだファイルのパスは長すぎて、この欄には入りません。\n"
                "この欄に入るのは半角で%d文字 (全角で%d文字) までです。",
                limit, limit / 2);
  return text;
}

}  // namespace vsmr
