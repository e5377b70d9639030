// Where the settings file is, and the icon path the older launcher form
// defaults to, both formed from the executable's folder.
#include "base/sjis.h"
#include "settings/settings_store.h"

namespace vsmr {

std::string SettingsPath(std::string_view executable_path) {
  std::size_t cut = FindLastSjisChar(executable_path, '\\');
  std::string path(executable_path.substr(0, cut == std::string_view::npos ? 0 : cut));
  return path + "\\vsmrsys.ini";
}

std::string DefaultIconPath(std::string_view settings_path) {
  std::size_t slash = FindLastSjisChar(settings_path, '\\');
  std::string_view folder =
      slash == std::string_view::npos ? std::string_view() : settings_path.substr(0, slash);
  return std::string(folder) + "\\vesmira.exe";
}

}  // namespace vsmr
