// The choosers on the real platform dialogs, driven from a second thread: the
// picked filter is remembered for the next open-file dialog, a cancel leaves
// the caller's path alone, a path too long for the field is reported and not
// cut, and the folder browser answers 1 on a cancel.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "dialogs/choosers.h"
#include "support/dialog_driver_win.h"
#include "support/temp_dir.h"

namespace vsmr {
namespace {

constexpr int kFilterCombo = 0x470;  // cmb1
constexpr int kNameCombo = 0x47C;    // cmb13, the explorer-style name field
constexpr int kNameEdit = 0x480;     // edt1, the old-style one
constexpr char kFilters[] = "Text\0*.txt\0All\0*.*\0";

TEST(ChoosersTest, PickedFilterIsPreselectedNextTime) {
  TempDir dir;
  std::string file = dir.File("chosen.dat");
  std::ofstream(file) << "x";
  FileChooserState state;
  char path[260] = "";

  LRESULT first_selection = -2;
  {
    DialogDriver driver([&](HWND d) {
      first_selection = SendDlgItemMessageA(d, kFilterCombo, CB_GETCURSEL, 0, 0);
      SendDlgItemMessageA(d, kFilterCombo, CB_SETCURSEL, 1, 0);
      // The notifications a user's pick sends, in their order.
      for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK}) {
        SendMessageA(d, WM_COMMAND, MAKEWPARAM(kFilterCombo, code),
                     reinterpret_cast<LPARAM>(GetDlgItem(d, kFilterCombo)));
      }
      SetDlgItemTextA(d, kNameCombo, file.c_str());
      SetDlgItemTextA(d, kNameEdit, file.c_str());
      Press(d, IDOK);
    });
    EXPECT_NE(ChooseFile(nullptr, path, sizeof path, kFilters, state), 0);
  }
  EXPECT_EQ(first_selection, 0) << "the first filter at the start of the run";
  EXPECT_EQ(state.filter_index, 2u);
  EXPECT_STREQ(path, file.c_str());

  // The next chooser opens on the second filter; a cancel keeps the text.
  LRESULT second_selection = -2;
  std::strcpy(path, "keep me");
  {
    DialogDriver driver([&](HWND d) {
      second_selection = SendDlgItemMessageA(d, kFilterCombo, CB_GETCURSEL, 0, 0);
      Press(d, IDCANCEL);
    });
    EXPECT_EQ(ChooseFile(nullptr, path, sizeof path, kFilters, state), 0);
  }
  EXPECT_EQ(second_selection, 1);
  EXPECT_STREQ(path, "keep me");
}

BOOL CALLBACK AppendStaticText(HWND child, LPARAM out) {
  char cls[16] = {};
  GetClassNameA(child, cls, sizeof cls);
  if (std::string(cls) == "Static") {
    char text[512] = {};
    GetWindowTextA(child, text, sizeof text);
    *reinterpret_cast<std::string*>(out) += text;
  }
  return TRUE;
}

TEST(ChoosersTest, APathLongerThanTheFieldIsReportedWithTheLimitAndNotCut) {
  TempDir dir;
  const std::string file = dir.File(std::string(120, 'n') + ".txt");
  std::ofstream(file) << "x";
  ASSERT_GT(file.size(), 127u);
  FileChooserState state;
  // The timer editor's command field holds 127 bytes: the path does not fit.
  for (std::size_t capacity : {std::size_t{128}, std::size_t{260}}) {
    SCOPED_TRACE(capacity);
    char path[260] = "keep me";
    std::string notice;
    int result = -1;
    {
      DialogDriver driver([&](HWND d) {
        SetDlgItemTextA(d, kNameCombo, file.c_str());
        SetDlgItemTextA(d, kNameEdit, file.c_str());
        std::thread ok([d] { Press(d, IDOK); });
        if (capacity < file.size() + 1) {
          HWND box = nullptr;
          for (int i = 0; i < 200 && !box; ++i, Sleep(50)) box = FindWindowA(nullptr, "注意");
          if (box) {
            EnumChildWindows(box, AppendStaticText, reinterpret_cast<LPARAM>(&notice));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
          }
        }
        ok.join();
      });
      result = ChooseFile(nullptr, path, capacity, kFilters, state);
    }
    if (capacity == 128) {
      EXPECT_EQ(result, 0);
      EXPECT_STREQ(path, "keep me");
      EXPECT_NE(notice.find("127"), std::string::npos) << notice;
    } else {
      EXPECT_NE(result, 0);
      EXPECT_EQ(path, file);
    }
  }
}

TEST(ChoosersTest, CancelledFolderBrowserAnswersOneAndKeepsText) {
  CoInitialize(nullptr);  // the program has OLE ready before any chooser opens
  char path[260] = "C:\\unchanged";
  {
    DialogDriver driver([](HWND d) { Press(d, IDCANCEL); });
    EXPECT_EQ(ChooseFolder(nullptr, path, sizeof path), 1);
  }
  EXPECT_STREQ(path, "C:\\unchanged");
  CoUninitialize();
}

}  // namespace
}  // namespace vsmr
