// The options dialog's glue on its real template: tabs showing their id
// ranges, the fields filled from the copy and read back on OK, rows moved with
// their check box and icon, the leave-room password shown as asterisks, and a
// delete that asks first. Driven from a second thread.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/resource_ids.h"
#include "dialogs/editor_rules.h"
#include "dialogs/options_dialog_win.h"
#include "dialogs/options_lists_win.h"
#include "support/dialog_driver_win.h"

namespace vsmr {
namespace {

std::string Field(HWND dialog, int id) {
  char text[512] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

bool Shown(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }

void ShowTab(HWND dialog, int tab) {
  HWND tabs = GetDlgItem(dialog, IDC_OPT_TABS);
  SendMessageA(tabs, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
  NMHDR header{tabs, IDC_OPT_TABS, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(dialog, WM_NOTIFY, IDC_OPT_TABS, reinterpret_cast<LPARAM>(&header));
}

class OptionsDialogTest : public ::testing::Test {
 protected:
  OptionsDialogTest() {
    context_.item.editor = {GetModuleHandleA(nullptr), nullptr, &chooser_};
    context_.item.icons.module = GetModuleHandleA(nullptr);
    context_.colors = &colors_;
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    program_ = self;
  }
  void AddCommand(const char* name) {
    CommandEntry& e = copy_->commands.entries[copy_->commands.count++];
    e.name.Set(name);
    e.body.Set(std::string(name) + ".exe");
  }

  FileChooserState chooser_;
  ColorChooserState colors_;
  OptionsDialogContext context_;
  std::unique_ptr<OptionsCopy> copy_ = std::make_unique<OptionsCopy>();
  std::string program_;
};

TEST_F(OptionsDialogTest, TabsShowTheirRangesAndOkReadsTheControlsBack) {
  auto settings = std::make_unique<SettingsState>();
  settings->auto_check_time = 3725;
  settings->timers[1].enabled = 1;
  settings->command_launcher_cmb_bx_font.Set("No Such Face");
  settings->using_drop_file = 1;
  settings->hot_key = 0x0241;
  settings->leave_room_password.Set("Secret");
  TakeOptionsCopy(*settings, CommandList{}, *copy_);
  bool timer_page = false, mail_page = false, timer_hidden = false, fonts_ok = true;
  bool password_page = false;
  std::string interval, font, password;
  LRESULT password_char = 0, password_limit = 0;
  {
    DialogDriver driver([&](HWND dialog) {
      timer_page = Shown(dialog, IDC_OPT_TIMER_EDIT) && !Shown(dialog, IDC_OPT_ITEM_LIST) &&
                   !Shown(dialog, IDC_OPT_DROP_GROUP);
      ShowTab(dialog, 3);
      mail_page = Shown(dialog, IDC_OPT_MAIL_LIST) && Shown(dialog, IDC_OPT_AUTO_SECONDS_LABEL) &&
                  Shown(dialog, IDC_OPT_MAIL_SHOW_WINDOW);
      timer_hidden = !Shown(dialog, IDC_OPT_TIMER_LIST) && !Shown(dialog, IDC_OPT_LAUNCHER_LENGTH);
      interval = Field(dialog, IDC_OPT_AUTO_HOURS) + ":" + Field(dialog, IDC_OPT_AUTO_MINUTES) +
                 ":" + Field(dialog, IDC_OPT_AUTO_SECONDS);
      HWND combo = GetDlgItem(dialog, IDC_OPT_FONT);
      const int fonts = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
      for (int i = 0; i < fonts; ++i) {
        char name[LF_FACESIZE + 1] = {};
        SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
        if (name[0] == '@') fonts_ok = false;
      }
      font = Field(dialog, IDC_OPT_FONT);
      ShowTab(dialog, 4);
      password_page = Shown(dialog, IDC_OPT_LEAVE_PASSWORD) &&
                      Shown(dialog, IDC_OPT_LEAVE_PASSWORD_LABEL) && !Shown(dialog, IDC_OPT_MAIL_LIST);
      password = Field(dialog, IDC_OPT_LEAVE_PASSWORD);
      password_char = SendDlgItemMessageA(dialog, IDC_OPT_LEAVE_PASSWORD, EM_GETPASSWORDCHAR, 0, 0);
      password_limit = SendDlgItemMessageA(dialog, IDC_OPT_LEAVE_PASSWORD, EM_GETLIMITTEXT, 0, 0);
      SetDlgItemTextA(dialog, IDC_OPT_LEAVE_PASSWORD, "Kagi7z");
      // The user's edits: tick timer 4, untick timer 2, a new interval and drop radio.
      CheckRow(GetDlgItem(dialog, IDC_OPT_TIMER_LIST), 3, true);
      CheckRow(GetDlgItem(dialog, IDC_OPT_TIMER_LIST), 1, false);
      SetDlgItemTextA(dialog, IDC_OPT_AUTO_MINUTES, "12345678");
      CheckDlgButton(dialog, IDC_OPT_DROP_RUN, BST_UNCHECKED);
      CheckDlgButton(dialog, IDC_OPT_DROP_CHANGE, BST_CHECKED);
      Press(dialog, IDOK);
    });
    EXPECT_EQ(RunOptionsDialog(context_, *copy_), kEditorOk);
  }
  EXPECT_TRUE(timer_page) << "the dialog opens on the timer tab alone";
  EXPECT_TRUE(mail_page && timer_hidden) << "the mail tab shows 2161-2173 alone";
  EXPECT_EQ(interval, "1:2:5");
  EXPECT_TRUE(fonts_ok) << "a vertical (@) face is listed";
  EXPECT_EQ(font, "No Such Face") << "a face the system does not list stays in the field";
  EXPECT_EQ(copy_->settings.command_launcher_cmb_bx_font.View(), "No Such Face");
  EXPECT_EQ(copy_->settings.timers[3].enabled, 1);
  EXPECT_EQ(copy_->settings.timers[1].enabled, 0);
  EXPECT_EQ(copy_->minutes, "1234567");
  EXPECT_EQ(copy_->drop_radio, 2);
  EXPECT_EQ(copy_->settings.hot_key, 0x0241);
  EXPECT_TRUE(password_page) << "the general tab shows the leave-room password";
  EXPECT_EQ(password, "Secret");
  EXPECT_EQ(password_char, '*');
  EXPECT_EQ(password_limit, 31);
  EXPECT_EQ(copy_->settings.leave_room_password.View(), "Kagi7z");
}

TEST_F(OptionsDialogTest, MovedItemsTakeTheirCheckBoxAndIconAlong) {
  copy_->settings.launcher_items[0].path.Set("first");
  copy_->settings.launcher_items[0].shown = 1;
  copy_->settings.launcher_items[0].icon_path.Set(program_);
  copy_->settings.launcher_items[1].path.Set("second");
  int image_before = -1, image_after = -1, selected = -1;
  bool first_checked = true, second_checked = false;
  {
    DialogDriver driver([&](HWND dialog) {
      HWND list = GetDlgItem(dialog, IDC_OPT_ITEM_LIST);
      image_before = RowImage(list, 0);
      SelectRow(list, 0);
      Press(dialog, IDC_OPT_ITEM_UP);  // the first row cannot move up
      Press(dialog, IDC_OPT_ITEM_DOWN);
      image_after = RowImage(list, 1);
      first_checked = RowChecked(list, 0);
      second_checked = RowChecked(list, 1);
      selected = SelectedRow(list);
      Press(dialog, IDOK);
    });
    EXPECT_EQ(RunOptionsDialog(context_, *copy_), kEditorOk);
  }
  EXPECT_EQ(image_after, image_before);
  EXPECT_FALSE(first_checked);
  EXPECT_TRUE(second_checked);
  EXPECT_EQ(selected, 1);
  EXPECT_EQ(copy_->settings.launcher_items[0].path.View(), "second");
  EXPECT_EQ(copy_->settings.launcher_items[0].shown, 0);
  EXPECT_EQ(copy_->settings.launcher_items[1].path.View(), "first");
  EXPECT_EQ(copy_->settings.launcher_items[1].shown, 1);
  EXPECT_EQ(copy_->settings.launcher_items[1].icon_path.View(), program_);
}

TEST_F(OptionsDialogTest, DeleteAsksAndRemovesOnlyTheSelectedCommand) {
  AddCommand("a");
  AddCommand("b");
  AddCommand("c");
  bool asked_without_row = false, asked = false;
  int rows = 0;
  {
    DialogDriver driver([&](HWND dialog) {
      HWND list = GetDlgItem(dialog, IDC_OPT_CMD_LIST);
      asked_without_row = PressAndAnswer(dialog, IDC_OPT_CMD_DELETE, "削除", IDYES);
      SelectRow(list, 2);
      Press(dialog, IDC_OPT_CMD_DOWN);  // the last row cannot move down
      Press(dialog, IDC_OPT_CMD_UP);
      asked = PressAndAnswer(dialog, IDC_OPT_CMD_DELETE, "削除", IDYES);
      rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
      Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(RunOptionsDialog(context_, *copy_), kEditorCancel);
  }
  EXPECT_TRUE(asked_without_row && asked);
  EXPECT_EQ(rows, 2);
  ASSERT_EQ(copy_->commands.count, 2);
  EXPECT_EQ(copy_->commands.entries[0].name.View(), "a");
  EXPECT_EQ(copy_->commands.entries[1].name.View(), "b");
}

}  // namespace
}  // namespace vsmr
