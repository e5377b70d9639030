// The launcher buttons as the main window sees them: building the bar, the
// bar's window commands, painting a button with its item's icon, drops on the
// buttons, and the automatic mail timer the lock re-arms.
#include "app/main_window_win.h"

#include "app/leave_room.h"
#include "dialogs/item_icon.h"

namespace vsmr {

void MainWindow::BuildButtons() {
  if (!bar_host_) return;
  // Each button is created at its final place; the window takes its final width
  // once at the end instead of once per button (resizing is a server round trip
  // under some platforms, and moved every earlier button again).
  building_bar_ = true;
  BuildButtonBar(state_.buttons, state_.layout, state_.settings.launcher_items, *bar_host_);
  building_bar_ = false;
  ApplyWidth();
}

void MainWindow::OnButtonCommand(int id, LPARAM lp) {
  if (!bar_host_) return;
  LauncherItem* items = state_.settings.launcher_items;
  switch (id) {
    case IDM_APPEND_BUTTON:
      AppendButton(state_.buttons, state_.layout, items, *bar_host_);
      return;
    case IDM_REMOVE_BUTTON:
      RemoveLastButton(state_.buttons, state_.layout, *bar_host_);
      return;
    case IDM_SET_BUTTON_COUNT:
      SetButtonCount(state_.buttons, state_.layout, items, static_cast<int>(lp), *bar_host_);
      return;
    default:
      break;
  }
  int position = ButtonPositionOfCommand(id, state_.layout);
  if (position < 0) return;
  ClickButton(state_.buttons, state_.layout, items, position, state_.LeaveRoomMode(),
              interpreter_, hwnd_);
}

void MainWindow::MoveLauncherButtons() {
  for (int p = 0; p < state_.layout.button_count; ++p) {
    auto button = static_cast<HWND>(state_.buttons.slots[p].window);
    if (button) {
      SetWindowPos(button, nullptr, state_.layout.ButtonX(p), 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
  }
}

void MainWindow::DrawLauncherButton(const DRAWITEMSTRUCT* item) {
  int position = ButtonPositionOfCommand(static_cast<int>(item->CtlID), state_.layout);
  if (position < 0) return;
  ButtonFace face = FaceOf((item->itemState & ODS_SELECTED) != 0);

  HBITMAP skin = Skin();
  MemoryDc skin_dc(item->hDC);
  MemoryDc face_dc(item->hDC);
  GdiObject<HBITMAP> canvas(CreateCompatibleBitmap(item->hDC, kButtonSize, kButtonSize));
  if (!skin || !skin_dc || !face_dc || !canvas) return;
  Selection skin_sel(skin_dc.get(), skin);
  Selection canvas_sel(face_dc.get(), canvas.get());
  BitBlt(face_dc.get(), 0, 0, kButtonSize, kButtonSize, skin_dc.get(), face.skin_x, 0, SRCCOPY);

  int index = SlotItem(state_.buttons, state_.layout, position);
  if (index >= 0) {
    const LauncherItem& launcher_item = state_.settings.launcher_items[index];
    ItemIconResources resources;
    resources.module = instance_;
    HICON icon = icon_cache_.Get(position, launcher_item.icon_path.c_str(),
                                 launcher_item.icon_index, resources);
    if (icon) {
      DrawIconEx(face_dc.get(), face.icon_offset, face.icon_offset, icon, kItemIconSmall,
                 kItemIconSmall, 0, nullptr, DI_NORMAL);
    }
  }
  BitBlt(item->hDC, 0, 0, kButtonSize, kButtonSize, face_dc.get(), 0, 0, SRCCOPY);
}

void MainWindow::DropOnButtons(int client_x, std::string_view drop_list) {
  if (!bar_host_) return;
  int action = state_.settings.using_drop_file;
  DropOnButton(state_.buttons, state_.layout, state_.settings.launcher_items, client_x, drop_list,
               action, state_.LeaveRoomMode(), interpreter_, hwnd_, *bar_host_);
  state_.settings.using_drop_file = action;
}

void MainWindow::ArmMailTimerIfConfigured(int delay_ms) {
  mail_jobs_.KeepAutoTimer(static_cast<std::uint32_t>(delay_ms));
}

}  // namespace vsmr
