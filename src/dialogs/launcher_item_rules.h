// The launcher item dialog's rules that need no window: its title, the icon
// previewed while the path is typed, the icon OK stores, and the opener's copy
// back.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "command/command_list.h"
#include "settings/settings_records.h"

namespace vsmr {

// Answers whether a file or folder of the given name exists.
using PathExists = std::function<bool(const std::string&)>;

// An icon source: the file and the number of the icon inside it.
struct IconSource {
  std::string path;
  int index = 0;
  bool operator==(const IconSource&) const = default;
};

// The dialog's title for item `item_number` (counted from 1):
// "ボタンランチャーアイテム[%d]"; empty for 0, when the template's title stays.
// The number travels beside the comment, never inside it, so that a comment
// that fills its field is shown and kept whole.
std::string ItemDialogTitle(int item_number);

// The icon shown while the path field holds `text`: a text other than the
// record's path that names nothing is looked up by its first word in the
// command list (without regard to case, first match) and stands for that
// command's body, else for the word. An existing file or folder gives its
// first icon; anything else the icon the dialog opened with.
IconSource PreviewIcon(std::string_view text, std::string_view record_path,
                       const IconSource& opening, const CommandList& commands,
                       const PathExists& exists);

// The icon path OK stores for `path` when the current icon path names no
// file: the path itself when it exists, else the body of the last command
// whose name is a prefix of the path (without regard to case), else unchanged.
std::string OkIconPath(std::string_view path, std::string_view icon_path,
                       const CommandList& commands, const PathExists& exists);

// The opener's copy back: an empty path changes nothing; otherwise the item
// takes the record except its shown flag, which the list's check box keeps.
bool ApplyItemEdit(LauncherItem& item, const LauncherItem& record);

// The path field's completion words: the command names in list order up to
// the first empty one.
std::vector<std::string> ItemCompletionWords(const CommandList& commands);

}  // namespace vsmr
