// Any vsmrsys.ini, however hand-edited: loading every item and setting and
// saving them again never reads or writes out of bounds, leaves every text
// field terminated within its width, and keeps the documented ranges.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/settings_store.h"

namespace {

template <std::size_t N>
void CheckTerminated(const vsmr::FixedText<N>& field) {
  if (field.View().size() >= N) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Read from memory, as Load reads the file's bytes: a file written per input
  // made every run wait on the disk (once for 19 seconds, a false timeout).
  static vsmr::SettingsState state;
  state = vsmr::SettingsState{};
  vsmr::ProfileDocument file =
      vsmr::ProfileDocument::FromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  vsmr::SettingsLoadInputs inputs;
  inputs.work_area_right = 1024;
  inputs.work_area_bottom = 768;
  inputs.default_icon_path = "C:\\V\\vesmira.exe";
  vsmr::LoadSettingsFile(state, file, inputs);
  for (const auto& item : state.launcher_items) {
    CheckTerminated(item.path);
    CheckTerminated(item.comment);
    CheckTerminated(item.icon_path);
  }
  for (const auto& t : state.timers) CheckTerminated(t.command);
  for (const auto& a : state.accounts) {
    CheckTerminated(a.server);
    CheckTerminated(a.user_name);
    CheckTerminated(a.password);
    CheckTerminated(a.sound_file);
  }
  if (state.check_list.count < 0 || state.check_list.count > vsmr::kMailAccountCount) std::abort();
  for (int e = 0; e < state.check_list.count; ++e) CheckTerminated(state.check_list.entries[e].key_text);
  std::int32_t t = state.auto_check_time;
  if (t != 0 && (t < 10 || t > 43200)) std::abort();
  CheckTerminated(state.leave_room_password);
  CheckTerminated(state.mail_launcher_command);

  vsmr::DocumentWriter out(file);
  vsmr::SaveSettingsFile(state, vsmr::LiveSettings{}, out);
  if (file.Bytes().empty()) std::abort();
  return 0;
}
