// The options dialog (MNOPTDLG): five tabs over the working copies of the
// timers, launcher items, commands, mail accounts and the general settings,
// with the item editors opened on their rows. It changes only the copy; the
// opener puts it into effect with ApplyOptions when the dialog ends with OK.
#pragma once
#include <windows.h>

#include "dialogs/launcher_item_dialog_win.h"
#include "dialogs/options_rules.h"

namespace vsmr {

// The colour chooser's custom colours, kept for the whole run.
struct ColorChooserState {
  COLORREF custom[16] = {};
};

struct OptionsDialogContext {
  // The owner, module, chooser state, icons and completion of every editor the
  // dialog opens; its command list is set to the copy's by the dialog.
  LauncherItemDialogContext item;
  ColorChooserState* colors = nullptr;  // required
};

// Runs the dialog modally on `copy`. Returns kEditorOk (the controls read
// into `copy`) or kEditorCancel, or -1 when the dialog could not be created.
int RunOptionsDialog(const OptionsDialogContext& context, OptionsCopy& copy);

}  // namespace vsmr
