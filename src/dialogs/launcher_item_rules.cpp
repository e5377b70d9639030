// The launcher item dialog's rules (see launcher_item_rules.h).
#include "dialogs/launcher_item_rules.h"

#include <string>

#include "base/sjis.h"

namespace vsmr {

std::string ItemDialogTitle(int item_number) {
  if (item_number == 0) return {};
  return "ボタンランチャーアイテム[" + std::to_string(item_number) + "]";
}

IconSource PreviewIcon(std::string_view text, std::string_view record_path,
                       const IconSource& opening, const CommandList& commands,
                       const PathExists& exists) {
  std::string target(text);
  if (text != record_path && !exists(target)) {
    const std::string_view word = text.substr(0, text.find(' '));
    target = std::string(word);
    for (int i = 0; i < commands.count; ++i) {
      if (SjisEqualIgnoringCase(commands.entries[i].name.View(), word)) {
        target = std::string(commands.entries[i].body.View());
        break;
      }
    }
  }
  if (exists(target)) return {target, 0};
  return opening;
}

std::string OkIconPath(std::string_view path, std::string_view icon_path,
                       const CommandList& commands, const PathExists& exists) {
  std::string result(icon_path);
  if (exists(result)) return result;
  if (exists(std::string(path))) return std::string(path);
  for (int i = 0; i < commands.count; ++i) {
    const std::string_view name = commands.entries[i].name.View();
    if (name.size() <= path.size() && SjisEqualIgnoringCase(name, path.substr(0, name.size()))) {
      result = std::string(commands.entries[i].body.View());
    }
  }
  return result;
}

bool ApplyItemEdit(LauncherItem& item, const LauncherItem& record) {
  if (record.path.Empty()) return false;
  const std::int32_t shown = item.shown;
  item = record;
  item.shown = shown;
  return true;
}

std::vector<std::string> ItemCompletionWords(const CommandList& commands) {
  std::vector<std::string> words;
  for (int i = 0; i < commands.count && !commands.entries[i].name.Empty(); ++i) {
    words.emplace_back(commands.entries[i].name.View());
  }
  return words;
}

}  // namespace vsmr
