// Building the drop list (see drop_list.h).
#include "app/drop_list.h"

#include "base/sjis.h"

namespace vsmr {

std::string BuildDropList(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) {
    std::size_t needed = name.size() + 2 + (list.empty() ? 0 : 1);
    if (list.size() + needed > kLineMax) break;
    if (!list.empty()) list += ' ';
    list += '"';
    list += name;
    list += '"';
  }
  return list;
}

std::string_view ClipboardDropText(std::string_view drop_list) {
  return drop_list.substr(0, SjisCutLength(drop_list, kClipboardDropMax));
}

}  // namespace vsmr
