// The settings' way through a run of the main window: read with the command
// list at creation, put on the window, changed through the options dialog,
// written back at exit or by the save built-in. Also keeps the notice about
// the files that the start-up found, until a click on the clock face asks.
#pragma once
#include <windows.h>
#include <objidl.h>

#include <functional>
#include <string>

#include "app/app_state.h"
#include "app/system_actions_win.h"
#include "app/tray_icon_win.h"
#include "dialogs/options_dialog_win.h"

namespace vsmr {

class SettingsSequence {
 public:
  // `tray` takes the loaded notification-area mode and gives it back for the save.
  SettingsSequence(HINSTANCE instance, AppState& state, SystemActions& system, TrayIcon& tray)
      : instance_(instance), state_(state), system_(system), tray_(tray) {}
  SettingsSequence(const SettingsSequence&) = delete;
  SettingsSequence& operator=(const SettingsSequence&) = delete;

  // The window that is placed, saved from and owns the boxes and the dialog.
  void Attach(HWND window) { window_ = window; }

  // Reads vsmrsys.ini and the command list into the state. What it has to say
  // about the files stands on the clock face as a status word meanwhile.
  void Load();
  // Puts the loaded window position and notification-area mode into effect.
  void ApplyLoaded();
  // Writes the settings and the lists; only what a load filled. `tray_flag`
  // false: the notification-area flag is saved as 0 (the built-ins' save).
  // False when a file could not be written, after a box that says which and why.
  bool Save(bool tray_flag = true);

  // The start-up's notice about the files, handed out once, while the status
  // word still shows its code; otherwise empty.
  std::string TakeFilesNotice();

  // What the window does once the options are in the settings.
  using FollowOptions = std::function<void(const OptionsEffects&)>;
  // Opens the options dialog on a fresh working copy (one at a time: a command
  // run while it is open may ask for it again); on OK the copy goes into the
  // settings and `follow` puts it into effect. `allocator` serves completion.
  void ShowOptions(IMalloc* allocator, const FollowOptions& follow);

 private:
  HINSTANCE instance_;
  AppState& state_;
  SystemActions& system_;
  TrayIcon& tray_;
  HWND window_ = nullptr;
  bool loaded_ = false;  // the save writes only what a load filled
  std::string files_notice_;
  std::string files_notice_word_;
  bool options_open_ = false;  // the options dialog is on screen
  ColorChooserState colors_;   // the colour chooser's custom colours, kept for the run
};

}  // namespace vsmr
