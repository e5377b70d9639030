// The record editors' glue on the real dialogs: what each field shows and what
// OK and CANCEL leave in the record, the timer's number fields, and the
// refusal of a TAB or line break in every field saved inside a tab-separated
// record; the launcher item dialog's title and opening icon. Driven from a
// second thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "base/resource_ids.h"
#include "dialogs/editor_rules.h"
#include "dialogs/item_editors_win.h"
#include "dialogs/launcher_item_dialog_win.h"
#include "support/dialog_driver_win.h"

namespace vsmr {
namespace {

std::string Field(HWND dialog, int id) {
  char text[512] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

class ItemEditorsTest : public ::testing::Test {
 protected:
  FileChooserState chooser_;
  EditorContext context_{GetModuleHandleA(nullptr), nullptr, &chooser_};
};

TEST_F(ItemEditorsTest, TimerOkRefusesATimeTheClockNeverShowsAndCancelKeepsTheRecord) {
  CommandTimer record;
  record.hour = 7;
  record.minute = 5;
  record.command.Set("old.exe");
  std::string shown_hour, shown_command;
  {
    DialogDriver driver([&](HWND dialog) {
      shown_hour = Field(dialog, IDC_TIMER_HOUR);
      shown_command = Field(dialog, IDC_TIMER_COMMAND);
      SetDlgItemTextA(dialog, IDC_TIMER_HOUR, "99");
      Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(RunTimerEditor(context_, record), kEditorCancel);
  }
  EXPECT_EQ(shown_hour, "7");
  EXPECT_EQ(shown_command, "old.exe");
  EXPECT_EQ(record.hour, 7);
  // Each wrong time gets the notice and the dialog stays; "0595" reads as 59.
  const struct {
    const char* hour;
    const char* minute;
  } wrong[] = {{"1234", "0"}, {"24", "0"}, {"0", "60"}, {"-1", "5"}, {"7", "-7"}};
  int refused = 0;
  {
    DialogDriver driver([&](HWND dialog) {
      SetDlgItemTextA(dialog, IDC_TIMER_COMMAND, "new.exe");
      for (const auto& time : wrong) {
        SetDlgItemTextA(dialog, IDC_TIMER_HOUR, time.hour);
        SetDlgItemTextA(dialog, IDC_TIMER_MINUTE, time.minute);
        if (PressAndAnswer(dialog, IDOK, "注意", IDOK) && IsWindowVisible(dialog)) ++refused;
      }
      SetDlgItemTextA(dialog, IDC_TIMER_HOUR, "23");
      SetDlgItemTextA(dialog, IDC_TIMER_MINUTE, "0595");
      Press(dialog, IDOK);
    });
    EXPECT_EQ(RunTimerEditor(context_, record), kEditorOk);
  }
  EXPECT_EQ(refused, 5);
  EXPECT_EQ(record.hour, 23);
  EXPECT_EQ(record.minute, 59);
  EXPECT_EQ(record.command.View(), "new.exe");
}

TEST_F(ItemEditorsTest, CommandEditorRefusesATabAndCancelEmptiesTheBody) {
  CommandEntry record;
  record.body.Set("a.exe");
  bool warned = false;
  {
    DialogDriver driver([&](HWND dialog) {
      SetDlgItemTextA(dialog, IDC_CMD_NAME, "two\twords");
      // OK shows the warning modally: close it from here, then cancel.
      std::thread ok([dialog] { Press(dialog, IDOK); });
      HWND box = nullptr;
      for (int i = 0; i < 200 && !box; ++i, Sleep(50)) box = FindWindowA(nullptr, "注意");
      warned = box != nullptr;
      if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
      ok.join();
      Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(RunCommandEditor(context_, record), kEditorCancel);
  }
  EXPECT_TRUE(warned);
  EXPECT_TRUE(record.body.Empty());
}

TEST_F(ItemEditorsTest, AccountEditorCancelEmptiesTheServer) {
  MailAccount record;
  record.server.Set("pop.example");
  record.password.Set("pw");
  std::string shown_server;
  {
    DialogDriver driver([&](HWND dialog) {
      shown_server = Field(dialog, IDC_MAIL_SERVER);
      Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(RunAccountEditor(context_, record), kEditorCancel);
  }
  EXPECT_EQ(shown_server, "pop.example");
  EXPECT_TRUE(record.server.Empty());
  EXPECT_EQ(record.password.View(), "pw");
}

// A security value from the settings file that the mail client does not know
// shows as its own entry, never as clear text, and OK keeps it.
TEST_F(ItemEditorsTest, AccountEditorShowsAnUnknownSecurityAndKeepsIt) {
  MailAccount record;
  record.server.Set("pop.example");
  record.user_name.Set("u");
  record.password.Set("pw");
  record.security = 7;
  LRESULT entries = 0;
  std::string shown;
  {
    DialogDriver driver([&](HWND dialog) {
      entries = SendDlgItemMessageA(dialog, IDC_MAIL_SECURITY, CB_GETCOUNT, 0, 0);
      shown = Field(dialog, IDC_MAIL_SECURITY);
      Press(dialog, IDOK);
    });
    EXPECT_EQ(RunAccountEditor(context_, record), kEditorOk);
  }
  EXPECT_EQ(entries, 4);
  EXPECT_EQ(shown, "不明");
  EXPECT_EQ(record.security, 7);
  record.security = 1;
  {
    DialogDriver driver([&](HWND dialog) {
      entries = SendDlgItemMessageA(dialog, IDC_MAIL_SECURITY, CB_GETCOUNT, 0, 0);
      Press(dialog, IDCANCEL);
    });
    RunAccountEditor(context_, record);
  }
  EXPECT_EQ(entries, 3) << "a known value offers only the three choices";
}

class LauncherItemDialogTest : public ItemEditorsTest {
 protected:
  LauncherItemDialogTest() {
    context_item_.editor = context_;
    context_item_.commands = &commands_;
    context_item_.nt_platform = true;
    context_item_.icons.module = GetModuleHandleA(nullptr);
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    program_ = self;
  }
  CommandList commands_;
  LauncherItemDialogContext context_item_;
  std::string program_;  // an existing program with icons of its own
};

TEST_F(LauncherItemDialogTest, TitleFromTheNumberAWholeFullCommentAndTheProgramsOwnIcon) {
  // A comment that fills its field (255 bytes), with spaces and a last word in kanji.
  const std::string full = "my tool " + std::string(240, 'x') + " 終わり";
  ASSERT_EQ(full.size(), 255u);
  LauncherItem record;
  record.path.Set(program_);
  record.comment.Set(full);
  record.icon_path.Set("C:\\windows\\system32\\shell32.dll");
  record.icon_index = 3;
  context_item_.item_number = 7;
  std::string title, comment;
  {
    DialogDriver driver([&](HWND dialog) {
      char text[256] = {};
      GetWindowTextA(dialog, text, sizeof text);
      title = text;
      comment = Field(dialog, IDC_ITEM_COMMENT);
      Press(dialog, IDOK);
    });
    EXPECT_EQ(RunLauncherItemDialog(context_item_, record), kEditorOk);
  }
  EXPECT_EQ(title, "ボタンランチャーアイテム[7]");
  EXPECT_EQ(comment, full);
  EXPECT_EQ(record.comment.View(), full);
  EXPECT_EQ(record.icon_path.View(), program_);
  EXPECT_EQ(record.icon_index, 0);

  // A longer text than the field holds is cut before the character that does not fit.
  {
    DialogDriver driver([&](HWND dialog) {
      SetDlgItemTextA(dialog, IDC_ITEM_COMMENT, (std::string(254, 'a') + "表表").c_str());
      Press(dialog, IDOK);
    });
    EXPECT_EQ(RunLauncherItemDialog(context_item_, record), kEditorOk);
  }
  EXPECT_EQ(record.comment.View(), std::string(254, 'a'));
}

TEST_F(LauncherItemDialogTest, EveryFieldOfATabSeparatedRecordRefusesTabsAndLineBreaks) {
  enum class Dialog { kItem, kAccount };
  const struct {
    const char* what;
    Dialog dialog;
    int field;
    const char* text;
  } rows[] = {
      {"item path", Dialog::kItem, IDC_ITEM_PATH, "C:\\a.exe\t1"},
      {"item comment", Dialog::kItem, IDC_ITEM_COMMENT, "two\tparts"},
      {"item comment, line break", Dialog::kItem, IDC_ITEM_COMMENT, "two\r\nlines"},
      {"account server", Dialog::kAccount, IDC_MAIL_SERVER, "pop\t.example"},
      {"account user", Dialog::kAccount, IDC_MAIL_USER, "me\t"},
      {"account password", Dialog::kAccount, IDC_MAIL_PASSWORD, "pass\tword"},
      {"account sound", Dialog::kAccount, IDC_MAIL_SOUND, "C:\\ding.wav\tx"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    LauncherItem item;
    item.path.Set("C:\\old.exe");
    MailAccount account;
    account.server.Set("pop.example");
    account.user_name.Set("me");
    account.password.Set("secret");
    bool warned = false;
    bool still_open = false;
    std::string kept;
    {
      DialogDriver driver([&](HWND dialog) {
        SetDlgItemTextA(dialog, row.field, row.text);
        warned = PressAndAnswer(dialog, IDOK, "注意", IDOK);
        still_open = IsWindowVisible(dialog) != FALSE;
        kept = Field(dialog, row.field);
        Press(dialog, IDCANCEL);
      });
      const int result = row.dialog == Dialog::kItem ? RunLauncherItemDialog(context_item_, item)
                                                     : RunAccountEditor(context_, account);
      EXPECT_EQ(result, kEditorCancel);
    }
    EXPECT_TRUE(warned);
    EXPECT_TRUE(still_open);
    EXPECT_EQ(kept, row.text);
  }
}

}  // namespace
}  // namespace vsmr
