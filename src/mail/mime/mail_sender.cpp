// The list column's sender text: the From value with its angle-bracketed
// address parts removed.
#include "mail/mime/mail_record.h"

namespace vsmr {

std::string SenderListText(std::string_view from) {
  std::string result;
  bool first = true;
  std::size_t pos = 0;
  while (pos < from.size()) {
    std::size_t end = from.find('<', pos);
    if (end == std::string_view::npos) end = from.size();
    std::string_view run = from.substr(pos, end - pos);
    pos = end + 1;
    if (run.empty()) continue;
    if (first) {
      result.append(run);
      first = false;
      continue;
    }
    std::size_t close = run.find('>');
    if (close == std::string_view::npos) break;  // an unclosed address ends the text
    result.append(run.substr(close + 1));
  }
  return result;
}

}  // namespace vsmr
