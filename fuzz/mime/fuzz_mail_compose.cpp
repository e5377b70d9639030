// Fuzz target: a retrieved message turned into the mail window's text, with the
// LIST size either right or too small (servers may disagree with themselves).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "mail/mime/mail_compose.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view message(reinterpret_cast<const char*>(data), size);
  for (std::size_t expected : {size, size / 3}) {
    std::string text = vsmr::ComposeMailText(message, expected);
    if (text.size() >= expected + vsmr::kMailDisplaySpare) __builtin_trap();
  }
  return 0;
}
