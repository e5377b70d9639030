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
#include "dialogs/launcher_item_rules.h"
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

TEST_F(ItemEditorsTest, TimerNumbersAreReadFromThreeCharactersAndCancelKeepsTheRecord) {
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
  {
    DialogDriver driver([](HWND dialog) {
      SetDlgItemTextA(dialog, IDC_TIMER_HOUR, "1234");
      SetDlgItemTextA(dialog, IDC_TIMER_MINUTE, "-7");
      SetDlgItemTextA(dialog, IDC_TIMER_COMMAND, "new.exe");
      Press(dialog, IDOK);
    });
    EXPECT_EQ(RunTimerEditor(context_, record), kEditorOk);
  }
  EXPECT_EQ(record.hour, 123);
  EXPECT_EQ(record.minute, -7);
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

TEST_F(LauncherItemDialogTest, TitleFromTheNumberAndAnExistingPathBringsItsOwnIcon) {
  LauncherItem record;
  record.path.Set(program_);
  record.comment.Set("my tool");
  record.icon_path.Set("C:\\windows\\system32\\shell32.dll");
  record.icon_index = 3;
  MarkItemComment(record, 7);
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
  EXPECT_EQ(comment, "my tool");
  EXPECT_EQ(record.comment.View(), "my tool");
  EXPECT_EQ(record.icon_path.View(), program_);
  EXPECT_EQ(record.icon_index, 0);
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
