// Fuzz target: a header block parsed into a MailRecord and formatted for the list.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "mail/mime/mail_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view block(reinterpret_cast<const char*>(data), size);
  vsmr::MailRecord record{};
  vsmr::ParseMailHeaders(block, record);
  vsmr::SenderListText(record.from.View());
  vsmr::FormatMailDate(record.date.View(), vsmr::MailDateForm::kShort);
  // Every field is terminated within its width.
  if (record.subject.View().size() >= sizeof record.subject.data) __builtin_trap();
  if (record.date.View().size() >= sizeof record.date.data) __builtin_trap();
  return 0;
}
