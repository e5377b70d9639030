// The main window's side of the button bar and the leave-room lock: owner-drawn
// button controls, their tips, the drop selection dialog, the change question
// and the automatic mail timer.
#pragma once
#include <windows.h>

#include <functional>

#include "app/button_bar.h"
#include "app/leave_room.h"

namespace vsmr {

class WindowButtonBarHost : public ButtonBarHost, public LeaveRoomHost {
 public:
  // `apply_width` resizes the main window to its layout's width, with its
  // region and the small buttons (the width has already been updated).
  WindowButtonBarHost(HINSTANCE instance, HWND main, HWND tooltip,
                      std::function<void()> apply_width);

  void ApplyWidth(int width) override;
  WindowRef CreateButton(int position, int x) override;
  void DestroyButton(WindowRef button) override;
  void RegisterTip(WindowRef button, std::string_view text) override;
  void RepaintButton(WindowRef button) override;
  int AskDropChoice() override;
  bool ConfirmItemChange(std::string_view question) override;
  void ArmMailTimer(int delay_ms) override;

 private:
  HINSTANCE instance_;
  HWND main_;
  HWND tooltip_;
  std::function<void()> apply_width_;
};

// The modal SELEDROPDLG: returns IDC_DROP_RUN or IDC_DROP_CHANGE for its
// buttons, IDCANCEL for a cancel, -1 when the dialog could not be shown.
int RunDropChoiceDialog(HINSTANCE instance, HWND owner);

}  // namespace vsmr
