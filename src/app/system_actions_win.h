// The platform calls of the built-ins that block on the user or act beyond
// the program: message boxes, sound, the file chooser, tracking a popup menu,
// ending the session and suspending. The window tests put a recording stand-in
// in their place, so that no test reaches a real shutdown.
#pragma once
#include <windows.h>

#include <string>

#include "dialogs/choosers.h"

namespace vsmr {

class SystemActions {
 public:
  virtual ~SystemActions() = default;
  virtual int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style) = 0;
  virtual void PlaySoundFile(const char* path) = 0;
  // The open-file chooser; the chosen path, empty when cancelled.
  virtual std::string ChooseFile(HWND owner, const char* filters) = 0;
  // Tracks `menu` at the screen point on behalf of `owner` until it closes;
  // a choice reaches `owner` as WM_COMMAND afterwards.
  virtual void TrackMenu(HMENU menu, int x, int y, HWND owner) = 0;
  virtual void EndSession(UINT flags) = 0;
  virtual void Suspend() = 0;
};

class WindowsSystemActions : public SystemActions {
 public:
  WindowsSystemActions(FileChooserState& chooser, bool nt_platform)
      : chooser_(chooser), nt_platform_(nt_platform) {}
  int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style) override;
  void PlaySoundFile(const char* path) override;
  std::string ChooseFile(HWND owner, const char* filters) override;
  void TrackMenu(HMENU menu, int x, int y, HWND owner) override;
  // On the NT family the process first enables its shutdown privilege.
  void EndSession(UINT flags) override;
  // On the NT family through the power profile library's suspend call (the
  // system power state call does not suspend there).
  void Suspend() override;

 private:
  FileChooserState& chooser_;
  bool nt_platform_;
};

}  // namespace vsmr
