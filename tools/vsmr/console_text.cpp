// Console conversions. Off Windows iconv(3) does the CP932 <-> UTF-8 work: it
// belongs to the C library, so the tool needs nothing beyond it.
#include "console_text.h"

#include "base/sjis.h"

#ifndef _WIN32
#include <cerrno>
#include <iconv.h>
#endif

namespace vsmr::tool {
namespace {

#ifndef _WIN32
std::string Convert(std::string_view text, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(text);
  std::string out;
  std::string in(text);
  char* src = in.data();
  std::size_t left = in.size();
  char buffer[4096];
  while (left > 0) {
    char* dst = buffer;
    std::size_t room = sizeof buffer;
    std::size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(buffer, dst - buffer);
    if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // An unconvertible byte is shown as '?' and skipped.
      out.push_back('?');
      ++src;
      --left;
    }
  }
  iconv_close(cd);
  return out;
}
#endif

}  // namespace

std::string ToConsole(std::string_view cp932) {
#ifdef _WIN32
  return std::string(cp932);
#else
  return Convert(cp932, "UTF-8", "CP932");
#endif
}

std::string FromConsole(std::string_view argument) {
#ifdef _WIN32
  return std::string(argument);
#else
  return Convert(argument, "CP932", "UTF-8");
#endif
}

std::string EscapeField(std::string_view cp932) {
  std::string escaped;
  for (std::size_t i = 0; i < cp932.size(); ++i) {
    char c = cp932[i];
    // A double-byte character is copied whole: its trail byte may be 0x5C.
    if (IsSjisLeadByte(static_cast<unsigned char>(c)) && i + 1 < cp932.size()) {
      escaped += c;
      escaped += cp932[++i];
      continue;
    }
    switch (c) {
      case '\t': escaped += "\\t"; break;
      case '\r': escaped += "\\r"; break;
      case '\n': escaped += "\\n"; break;
      case '\\': escaped += "\\\\"; break;
      default: escaped += c;
    }
  }
  return ToConsole(escaped);
}

}  // namespace vsmr::tool
