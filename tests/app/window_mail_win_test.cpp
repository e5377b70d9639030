// The main window starting mail checks: the automatic timer armed at creation
// and re-armed by a check's end, the refusals (empty check list, the leave-room
// lock), and a manual check that brings the mail window up with its failure.
#include <windows.h>

#include <fstream>
#include <string>

#include "main_window_fixture_win.h"
#include "app/mail_owner_window_win.h"
#include "pop3/fake_pop_server.h"

namespace vsmr {
namespace {

class MailWindowCheckTest : public MainWindowTest {
 protected:
  static void SetUpTestSuite() { LoadLibraryA("RichEd32.Dll"); }  // the mail window's text view
  // Account 2 enabled, on a loopback server that refuses this log-in or the connection.
  virtual std::string MailSettings() const {
    return "[MailPopSetting]\r\nAutoCheckTime=10\r\nTimeOut=2\r\n"
           "Mail2AccountData=1\t127.0.0.1\tnobody-here\twrong\t\r\n";
  }
  void PrepareFiles() override {
    std::ofstream(dir_.Path() + "\\vsmrsys.ini", std::ios::binary)
        << "[CommandLineLauncher]\r\nHotKey=0\r\n" << MailSettings();
  }
  // True when timer 109 was armed (and stops it).
  bool TakeMailTimer() { return KillTimer(window_->hwnd(), IDT_AUTO_MAIL) != FALSE; }
  void WaitForJobEnd() {
    for (int i = 0; i < 1000 && window_->mail_job_running(); ++i) {
      PumpMessages();
      Sleep(10);
    }
    PumpMessages();
  }
};

TEST_F(MailWindowCheckTest, ManualCheckShowsTheFailureAndReArmsTheTimer) {
  ASSERT_TRUE(TakeMailTimer());  // armed at creation
  SendMessageA(window_->hwnd(), WM_COMMAND, IDM_MAIL_CHECK, 0);
  HWND mail = window_->mail_window();
  ASSERT_NE(mail, nullptr);
  EXPECT_TRUE(IsWindowVisible(mail));
  EXPECT_EQ(GetParent(mail) == nullptr ? GetWindow(mail, GW_OWNER) : GetParent(mail),
            FindWindowA(kMailOwnerClassName, nullptr));
  WaitForJobEnd();
  EXPECT_FALSE(window_->mail_job_running());
  EXPECT_TRUE(TakeMailTimer());  // the check's end armed it again
  std::string word(state_->status.Read().View());
  EXPECT_TRUE(word.starts_with("MailErr")) << word;
  char status[256] = {};
  GetDlgItemTextA(mail, 2302, status, sizeof status);
  EXPECT_NE(std::string(status), "新着メールをチェック中");
  EXPECT_NE(std::string(status), "");

  // Closed by the user, the mail window is made again by the next check.
  DestroyWindow(mail);
  PumpMessages();
  EXPECT_EQ(window_->mail_window(), nullptr);
  SendMessageA(window_->hwnd(), WM_COMMAND, IDM_MAIL_CHECK, 0);
  EXPECT_NE(window_->mail_window(), nullptr);
  WaitForJobEnd();
}

TEST_F(MailWindowCheckTest, TheLockRefusesTheMenuAndTheTimer) {
  state_->settings.leave_room_mode = 1;
  SendMessageA(window_->hwnd(), WM_COMMAND, IDM_MAIL_CHECK, 0);
  SendMessageA(window_->hwnd(), WM_TIMER, IDT_AUTO_MAIL, 0);
  EXPECT_EQ(window_->mail_window(), nullptr);
  EXPECT_FALSE(window_->mail_job_running());
  EXPECT_FALSE(TakeMailTimer());  // the tick stopped it and nothing re-armed it
}

// A server that logs the program in and then falls silent.
class SilentServerTest : public MailWindowCheckTest {
 protected:
  std::string MailSettings() const override {
    return "[MailPopSetting]\r\nTimeOut=1\r\nMail1AccountData=1\t127.0.0.1\tu\tp\t\r\n";
  }
  void PrepareFiles() override {
    using namespace testing;
    server_ = std::make_unique<FakePopServer>(std::vector<ServerAction>{
        Send("+OK\r\n"), Expect("USER"), Send("+OK\r\n"), Expect("PASS"), Send("+OK\r\n"),
        Expect("STAT"), Sleep(15000)});
    seams_.pop_port = server_->Port();
    MailWindowCheckTest::PrepareFiles();
  }
  std::unique_ptr<testing::FakePopServer> server_;
};

TEST_F(SilentServerTest, ClosingWhileACheckWaitsEndsItWithinTheTimeOutAndSaves) {
  SendMessageA(window_->hwnd(), WM_COMMAND, IDM_MAIL_CHECK, 0);
  for (int i = 0; i < 500 && server_->Commands().size() < 3; ++i) {
    PumpMessages();
    Sleep(10);
  }
  ASSERT_EQ(server_->Commands().size(), 3u);
  ASSERT_TRUE(window_->mail_job_running());
  const DWORD start = GetTickCount();
  SendMessageA(window_->hwnd(), WM_CLOSE, 0, 0);
  const DWORD took = GetTickCount() - start;
  EXPECT_LE(took, 2500u);  // TimeOut 1 s, plus one second, plus slack for Wine
  EXPECT_FALSE(window_->mail_job_running());
  std::ifstream saved(dir_.Path() + "\\vsmrsys.ini", std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("WindowPositionX="), std::string::npos);  // the save ran
}

class NoAccountTest : public MailWindowCheckTest {
 protected:
  std::string MailSettings() const override { return "[MailPopSetting]\r\nAutoCheckTime=10\r\n"; }
};

TEST_F(NoAccountTest, NoTimerAndNoCheckWithoutAnEnabledAccount) {
  EXPECT_FALSE(TakeMailTimer());
  SendMessageA(window_->hwnd(), WM_COMMAND, IDM_MAIL_CHECK, 0);
  EXPECT_EQ(window_->mail_window(), nullptr);
  EXPECT_FALSE(window_->mail_job_running());
}

}  // namespace
}  // namespace vsmr
