// The modal editors of one record each: a command (CMDIPTDLG), a command
// timer (TIMEREDITDLG) and a mail account (MAILEDITDLG). Each edits the record
// it is given, in place; the opener decides with editor_rules.h what to keep.
#pragma once
#include <windows.h>

#include "command/command_list.h"
#include "dialogs/choosers.h"
#include "settings/settings_records.h"

namespace vsmr {

// What every editor needs: the module holding the templates, the owner window
// and the run-long file chooser state.
struct EditorContext {
  HINSTANCE instance = nullptr;
  HWND owner = nullptr;
  FileChooserState* chooser = nullptr;
};

// Each returns kEditorOk or kEditorCancel (or -1 when the dialog could not be
// created). CANCEL empties the command's body and the account's server; the
// timer editor's CANCEL keeps a command text that its chooser took over.
int RunCommandEditor(const EditorContext& context, CommandEntry& record);
int RunTimerEditor(const EditorContext& context, CommandTimer& record);
int RunAccountEditor(const EditorContext& context, MailAccount& record);

}  // namespace vsmr
