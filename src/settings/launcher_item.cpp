// The 64 launcher items in [ButtonLauncher]: "LauncherNNData" and
// "LauncherNNIcon", and the older per-key form that files of earlier versions
// keep (read only; the next save writes the item in the current form).
#include "settings/compound_value.h"
#include "settings/settings_store.h"

namespace vsmr {
namespace {

// Read lengths, terminator included.
constexpr std::size_t kItemValueLength = 520;
constexpr std::string_view kAbsentData = "0\t\t";
constexpr std::string_view kAbsentIcon = "0\t";

std::string_view ReadValue(const ProfileDocument& file, std::string_view key,
                           std::string_view default_text, char* buffer, std::size_t length) {
  file.ReadString(kButtonLauncherSection, key, default_text, buffer, length);
  return std::string_view(buffer);
}

}  // namespace

std::int32_t LoadLauncherItem(LauncherItem& item, int index, const ProfileDocument& file,
                              std::string_view default_icon_path) {
  char value[kItemValueLength];
  std::string_view data = ReadValue(file, LauncherDataKey(index), kAbsentData, value, sizeof value);
  if (data == kAbsentData) return LoadLegacyLauncherItem(item, index, file, default_icon_path);

  FieldCursor fields(data);
  std::int32_t shown = NumericField(fields.Next('\t'));
  item.path.Set(fields.Next('\t'));
  item.comment.Set(fields.Rest());

  std::string_view icon = ReadValue(file, LauncherIconKey(index), kAbsentIcon, value, sizeof value);
  FieldCursor icon_fields(icon);
  item.icon_index = NumericField(icon_fields.Next('\t'));
  item.icon_path.Set(icon_fields.Next('\t'));
  return shown;
}

std::int32_t LoadLegacyLauncherItem(LauncherItem& item, int index, const ProfileDocument& file,
                                    std::string_view default_icon_path) {
  const auto key = [index](std::string_view name) { return LegacyLauncherKey(name, index); };
  file.ReadString(kButtonLauncherSection, key("ApplicationPath"), "not found", item.path.data,
                  sizeof item.path.data);
  file.ReadString(kButtonLauncherSection, key("Comment"), item.path.View(), item.comment.data,
                  sizeof item.comment.data);
  file.ReadString(kButtonLauncherSection, key("IconPath"), default_icon_path, item.icon_path.data,
                  sizeof item.icon_path.data);
  item.icon_index = file.ReadInt(kButtonLauncherSection, key("IconIndex"), 0);
  return file.ReadInt(kButtonLauncherSection, key("ShowButton"), 0);
}

void SaveLauncherItem(const LauncherItem& item, int index, SettingsWriter& out) {
  CompoundText value;
  value.Number(item.shown).Char('\t').Text(StoredText(item.path)).Char('\t').Text(StoredText(item.comment));
  out.Write(kButtonLauncherSection, LauncherDataKey(index), value.View());
  value.Clear();
  value.Number(item.icon_index).Char('\t').Text(StoredText(item.icon_path));
  out.Write(kButtonLauncherSection, LauncherIconKey(index), value.View());
}

}  // namespace vsmr
