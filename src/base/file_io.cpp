// Portable halves of ReadWholeFile and WriteFileAtomically.
#include "base/file_io.h"

#include <atomic>
#include <cstdio>

namespace vsmr {

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char chunk[65536];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
  // A name unique within this process; the folder is the target's, so the
  // final replacement never crosses file systems.
  static std::atomic<unsigned> serial{0};
  std::string temp = path + ".tmp" + std::to_string(serial.fetch_add(1));
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fflush(f) == 0) && ok;
  ok = (std::fclose(f) == 0) && ok;
  if (ok) ok = MoveFileOver(temp, path);
  if (!ok) std::remove(temp.c_str());
  return ok;
}

}  // namespace vsmr
