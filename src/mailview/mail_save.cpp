// The file half of saving the mail text: an atomic write and the failure text.
#include "mailview/mail_save.h"

#include "base/file_io.h"

namespace vsmr {

std::string SaveMailTextFile(const std::string& path, std::string_view text) {
  if (WriteFileAtomically(path, text)) return {};
  return "「" + path + "」に保存できませんでした";
}

}  // namespace vsmr
