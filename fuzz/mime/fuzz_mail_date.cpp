// Fuzz target: Date values in both display forms.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "mail/mime/mail_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view value(reinterpret_cast<const char*>(data), size);
  std::string a = vsmr::FormatMailDate(value, vsmr::MailDateForm::kShort);
  std::string b = vsmr::FormatMailDate(value, vsmr::MailDateForm::kLong);
  // Five tokens of at most 15 bytes each bound both forms.
  if (value != vsmr::kNoDateText && (a.size() > 80 || b.size() > 80)) __builtin_trap();
  return 0;
}
