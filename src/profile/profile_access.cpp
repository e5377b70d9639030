// The single-key reads and writes: each goes to the file itself, as the
// platform's profile functions do.
#include "profile/profile_access.h"

#include "base/file_io.h"
#include "profile/profile_model.h"

namespace vsmr {

std::int32_t ReadIntSetting(std::string_view section, std::string_view key,
                            std::int32_t default_value, const std::string& path) {
  return ProfileDocument::Load(path).ReadInt(section, key, default_value);
}

void ReadStringSetting(std::string_view section, std::string_view key,
                       std::string_view default_text, char* buffer, std::size_t length,
                       const std::string& path) {
  ProfileDocument::Load(path).ReadString(section, key, default_text, buffer, length);
}

void WriteIntSetting(std::string_view section, std::string_view key, std::int32_t value,
                     const std::string& path) {
  WriteStringSetting(section, key, std::to_string(value), path);
}

void WriteStringSetting(std::string_view section, std::string_view key, std::string_view text,
                        const std::string& path) {
  std::string before;
  if (ReadFileChecked(path, before).outcome == FileReadOutcome::kUnreadable) {
    // The file exists but cannot be read: writing one key over it would lose
    // every other setting, so leave it alone.
    return;
  }
  profile::Model model = profile::Model::Parse(before);
  if (model.Write(section, key, text)) WriteFileAtomically(path, model.Bytes());
}

}  // namespace vsmr
