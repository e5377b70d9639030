// What the built-in commands need from the program around them: window
// commands, message boxes, sound, timers, the window's place, the command
// menu, the file chooser, the command editor, the mail check, saving, and
// ending or suspending the session. The program implements it over Win32;
// tests and `vsmr trace` record every call.
#pragma once
#include <string>
#include <string_view>

#include "base/point.h"
#include "command/command_list.h"

namespace vsmr {

struct CommandMenu;

// Message-box styles and answers, with the platform's values (the Win32 host
// checks that they agree).
inline constexpr unsigned kBoxOk = 0x0;
inline constexpr unsigned kBoxYesNo = 0x4;
inline constexpr unsigned kBoxIconError = 0x10;
inline constexpr unsigned kBoxIconQuestion = 0x20;
inline constexpr unsigned kBoxIconWarning = 0x30;
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerCancel = 2;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

// How the session ends (ExitWindowsEx flags).
inline constexpr unsigned kEndShutdown = 0x1;
inline constexpr unsigned kEndReboot = 0x2;
inline constexpr unsigned kEndForce = 0x4;

class BuiltinHost {
 public:
  virtual ~BuiltinHost() = default;
  // The main window's close message (its closing runs `_onclose` and saves).
  virtual void CloseMainWindow() = 0;
  // Sends the main window the window command `id` with `parameter`.
  virtual void SendWindowCommand(int id, int parameter) = 0;
  // The show flags changed: the shown items take the button slots in item
  // order and the bar is set to `shown` buttons (window command 307).
  virtual void RebuildButtonBar(int shown) = 0;
  // Saves the settings (the notification-area flag as 0), the launcher items
  // and the command list. False when a file could not be written: the host
  // has then shown which and why.
  virtual bool SaveEverything() = 0;
  virtual void PlaySoundFile(std::string_view path) = 0;
  // A modal box owned by the main window; returns the answer (kAnswer...).
  virtual int ShowMessageBox(std::string_view caption, std::string_view text, unsigned style) = 0;
  virtual void SetTimer(int id, int milliseconds) = 0;
  virtual void KillTimer(int id) = 0;
  // The main window's top-left corner on the screen, and moving it there.
  virtual Point WindowPosition() = 0;
  virtual void MoveWindow(int x, int y) = 0;
  virtual Point PointerPosition() = 0;
  // The left edge of launcher button `position` (from 0) in the main window,
  // and of the launcher box (where the clock face ends).
  virtual int ButtonClientX(int position) = 0;
  virtual int LauncherBoxClientX() = 0;
  // Tracks `menu` at `at`; returns when it closes. A choice arrives later as
  // the window command of the chosen entry.
  virtual void ShowMenu(const CommandMenu& menu, Point at) = 0;
  // The open-file chooser over `filters` (pairs of NUL-terminated texts,
  // ended by an empty one). Returns the chosen path, empty when cancelled.
  virtual std::string ChooseFile(std::string_view filters) = 0;
  // Opens `path` through the shell, owned by the main window.
  virtual void OpenFile(const std::string& path) = 0;
  // The command editor on `record`; Cancel empties its body.
  virtual void EditCommand(CommandEntry& record) = 0;
  // A manual mail check, as the main menu's entry starts one.
  virtual void StartMailCheck() = 0;
  // Asks the system to end the session with `flags` (kEnd...).
  virtual void EndSession(unsigned flags) = 0;
  virtual void Suspend() = 0;
  // Has the main window painted again (the clock face changed).
  virtual void Repaint() = 0;
};

}  // namespace vsmr
