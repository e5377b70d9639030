// The choosers on the real platform dialogs, driven from a second thread: the
// picked filter is remembered for the next open-file dialog, a cancel leaves
// the caller's path alone, and the folder browser answers 1 on a cancel.
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
