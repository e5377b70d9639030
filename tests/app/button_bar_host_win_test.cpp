// The button bar on real controls: buttons appear with their control ids at
// their places, go away when items are hidden, and carry their tips.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/button_bar_host_win.h"
#include "app/tooltip_win.h"

namespace vsmr {
namespace {

class BarWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "VsmrBarTest";
    RegisterClassA(&wc);
    main_ = CreateWindowExA(WS_EX_TOOLWINDOW, "VsmrBarTest", "bar", WS_POPUP, 0, 0, 88, 22,
                            nullptr, nullptr, instance, nullptr);
    ASSERT_NE(main_, nullptr);
    tooltip_ = CreateTooltipControl(main_, instance);
    host_ = std::make_unique<WindowButtonBarHost>(instance, main_, tooltip_, [this] {
      ++width_applied_;
      MoveWindow(main_, 0, 0, layout_.Width(), kStripHeight, FALSE);
    });
    for (int i : {1, 4, 9}) {
      items_[i].shown = 1;
      items_[i].comment.Set("tip " + std::to_string(i));
    }
  }
  void TearDown() override {
    if (main_) DestroyWindow(main_);
  }
  // The button's left edge in the main window's client area, or -1.
  int ButtonLeft(int id) {
    HWND button = GetDlgItem(main_, id);
    if (button == nullptr) return -1;
    RECT r;
    GetWindowRect(button, &r);
    MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&r), 2);
    return r.left;
  }
  std::string TipOf(HWND button) {
    char text[256] = {};
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = main_;
    info.uId = reinterpret_cast<UINT_PTR>(button);
    info.lpszText = text;
    SendMessageA(tooltip_, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    return text;
  }

  HWND main_ = nullptr;
  HWND tooltip_ = nullptr;
  std::unique_ptr<WindowButtonBarHost> host_;
  int width_applied_ = 0;
  LauncherItem items_[kLauncherItemCount];
  ButtonBar bar_;
  ShellLayout layout_;
};

TEST_F(BarWindow, ButtonsFollowTheShownItems) {
  BuildButtonBar(bar_, layout_, items_, *host_);
  EXPECT_EQ(width_applied_, 3);
  RECT r;
  GetWindowRect(main_, &r);
  EXPECT_EQ(r.right - r.left, 88 + 3 * 22);
  EXPECT_EQ(ButtonLeft(IDM_FIRST_BUTTON), 74);
  EXPECT_EQ(ButtonLeft(IDM_FIRST_BUTTON + 1), 96);
  EXPECT_EQ(ButtonLeft(IDM_FIRST_BUTTON + 2), 118);
  EXPECT_EQ(TipOf(GetDlgItem(main_, IDM_FIRST_BUTTON + 1)), "tip 4");

  HWND third = GetDlgItem(main_, IDM_FIRST_BUTTON + 2);
  items_[4].shown = 0;
  RefreshButtonBar(bar_, layout_, items_, *host_);
  EXPECT_EQ(ButtonLeft(IDM_FIRST_BUTTON + 2), -1);
  EXPECT_FALSE(IsWindow(third)) << "a removed button is destroyed";
  EXPECT_EQ(TipOf(GetDlgItem(main_, IDM_FIRST_BUTTON + 1)), "tip 9")
      << "the kept button shows its new item";
  GetWindowRect(main_, &r);
  EXPECT_EQ(r.right - r.left, 88 + 2 * 22);

  SetButtonCount(bar_, layout_, items_, 0, *host_);
  EXPECT_EQ(GetDlgItem(main_, IDM_FIRST_BUTTON), nullptr);
}

TEST_F(BarWindow, MailTimerArms) {
  host_->ArmMailTimer(3000);
  // KillTimer succeeds only for a timer that exists.
  EXPECT_TRUE(KillTimer(main_, IDT_AUTO_MAIL));
}

}  // namespace
}  // namespace vsmr
