// Key names numbered after their table slot, the AutoCheckTime clamp and the
// older form's default icon path.
#include <cstdio>

#include "base/sjis.h"
#include "settings/settings_store.h"

namespace vsmr {
namespace {

std::string Numbered(const char* format, int number) {
  char key[48];
  std::snprintf(key, sizeof key, format, number);
  return key;
}

}  // namespace

std::string LauncherDataKey(int index) { return Numbered("Launcher%02dData", index + 1); }
std::string LauncherIconKey(int index) { return Numbered("Launcher%02dIcon", index + 1); }
std::string CommandTimerKey(int index) { return Numbered("CommandTimer%02d", index + 1); }
std::string MailAccountKey(int index) { return Numbered("Mail%dAccountData", index + 1); }
std::string PrevMailKey(int index) { return Numbered("Mail%dPrevMailData", index + 1); }

std::string LegacyLauncherKey(std::string_view name, int index) {
  return std::string(name) + std::to_string(index + 1);
}

std::int32_t ClampAutoCheckTime(std::int32_t seconds) {
  if (seconds == 0) return 0;
  if (seconds < 10) return 10;
  if (seconds > 43200) return 43200;
  return seconds;
}

std::string DefaultIconPath(std::string_view settings_path) {
  std::size_t slash = FindLastSjisChar(settings_path, '\\');
  std::string_view folder = slash == std::string_view::npos ? std::string_view() : settings_path.substr(0, slash);
  return std::string(folder) + "\\vesmira.exe";
}

}  // namespace vsmr
