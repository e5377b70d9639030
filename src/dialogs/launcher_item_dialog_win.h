// The launcher item dialog (BTNIPTDLG): path, comment and icon of one
// launcher item, with a live icon preview, the choosers, the shell's icon
// picker and completion of the path from the command names.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "command/command_list.h"
#include "dialogs/item_editors_win.h"
#include "dialogs/item_icon.h"
#include "settings/settings_records.h"

namespace vsmr {

struct LauncherItemDialogContext {
  EditorContext editor;
  const CommandList* commands = nullptr;  // required: names the icon rule resolves
  bool nt_platform = false;  // the icon picker takes wide strings
  ItemIconResources icons;
  int item_number = 0;  // counted from 1, shown in the title; 0: the template's title
  // Attaches completion over the given words to the path field; returns the
  // object to release once the field is destroyed, or null (no completion).
  std::function<IUnknown*(HWND edit, const std::vector<std::string>& words)> attach_completion;
};

// Whether a file or folder of that name exists.
bool PathExistsOnDisk(const std::string& path);

// Runs the dialog modally on `record`. Returns kEditorOk or kEditorCancel (-1
// when the dialog could not be created); CANCEL empties the record's path.
int RunLauncherItemDialog(const LauncherItemDialogContext& context, LauncherItem& record);

}  // namespace vsmr
