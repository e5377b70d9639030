// The main window starting mail checks: the automatic timer armed at creation
// and re-armed by a check's end, the refusals (empty check list, the leave-room
// lock), a manual check that brings the mail window up with its failure, and
// jobs against scripted servers: the timer beside reading jobs, rows after a
// rebuild of the check list or a closed window, the job's end, and closing.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "main_window_fixture_win.h"
#include "app/mail_owner_window_win.h"
#include "support/fake_pop_server.h"

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


// Jobs against scripted servers, one per session: an account's live port
// names the server its next job logs in to.
class ScriptedMailTest : public MailWindowCheckTest {
 protected:
  std::string MailSettings() const override {
    return "[MailPopSetting]\r\nAutoCheckTime=10\r\nTimeOut=3\r\nSavePreviousMailStatus=1\r\n"
           "Mail1AccountData=1\t127.0.0.1\tu\tp\t\r\n";
  }
  static std::string Header(int n) {
    return "Message-ID: <m" + std::to_string(n) + "@x>\r\nSubject: s" + std::to_string(n) +
           "\r\nFrom: A <a@x>\r\nDate: Sun, 5 Jan 2003 12:34:56 +0900\r\n\r\n";
  }
  static std::vector<testing::ServerAction> LogIn(const std::string& user = "USER") {
    using namespace testing;
    return {Send("+OK\r\n"), Expect(user), Send("+OK\r\n"), Expect("PASS"), Send("+OK\r\n")};
  }
  // A mailbox of `count` messages whose headers are read one at a time (the
  // first `served` of them; all by default), a pause of `pause_ms` before the
  // answer for message `pause_before`; then QUIT.
  static std::vector<testing::ServerAction> ListSession(int count, int pause_before = 0,
                                                        int pause_ms = 0,
                                                        const std::string& user = "USER",
                                                        int served = -1) {
    using namespace testing;
    auto s = LogIn(user);
    s.insert(s.end(), {Expect("STAT"), Send("+OK " + std::to_string(count) + " 999\r\n"),
                       Expect("CAPA"), Send("-ERR\r\n")});
    for (int n = 1; n <= (served < 0 ? count : served); ++n) {
      s.push_back(Expect("TOP"));
      if (n == pause_before) s.push_back(Sleep(pause_ms));
      s.insert(s.end(), {Send("+OK\r\n" + Header(n) + ".\r\n"), Expect("LIST"),
                         Send("+OK " + std::to_string(n) + " 120\r\n")});
    }
    s.insert(s.end(), {Expect("QUIT"), Send("+OK\r\n")});
    return s;
  }
  // Message `n` downloaded to be shown.
  static std::vector<testing::ServerAction> ShowSession(int n, const std::string& user = "USER") {
    using namespace testing;
    const std::string message = Header(n) + "body\r\n";
    const std::string size = std::to_string(message.size());
    auto s = LogIn(user);
    s.insert(s.end(), {Expect("LIST"), Send("+OK " + std::to_string(n) + " " + size + "\r\n"),
                       Expect("RETR"), Send("+OK\r\n" + message + ".\r\n"), Expect("QUIT"),
                       Send("+OK\r\n")});
    return s;
  }
  // A server for the next job of account slot `account`.
  testing::FakePopServer& Serve(int account, std::vector<testing::ServerAction> script) {
    servers_.push_back(std::make_unique<testing::FakePopServer>(std::move(script)));
    state_->settings.accounts[account].port = servers_.back()->Port();
    return *servers_.back();
  }
  static bool Saw(const testing::FakePopServer& server, const std::string& command) {
    const auto commands = server.Commands();
    return std::find(commands.begin(), commands.end(), command) != commands.end();
  }
  // Pumps until `done` (true) or 10 s have passed (false); the longest single
  // pump goes to `longest_ms`.
  bool PumpUntil(const std::function<bool()>& done, DWORD* longest_ms = nullptr) {
    for (int i = 0; i < 1000; ++i) {
      const DWORD start = GetTickCount();
      PumpMessages();
      if (longest_ms) *longest_ms = std::max(*longest_ms, GetTickCount() - start);
      if (done()) return true;
      Sleep(10);
    }
    return false;
  }
  bool CheckAndWait() {
    SendMessageA(window_->hwnd(), WM_COMMAND, IDM_MAIL_CHECK, 0);
    return PumpUntil([this] { return !window_->mail_job_running(); });
  }
  HWND List() const { return GetDlgItem(window_->mail_window(), IDC_MAIL_LIST); }
  int Rows() const { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }
  void Select(int row) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    SendMessageA(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    SendMessageA(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  }
  std::string Cell(int row, int column) const {
    char text[64] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(List(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
  }

  std::vector<std::unique_ptr<testing::FakePopServer>> servers_;
};

// Reading a message neither stops the automatic timer nor leaves it stopped:
// a tick while the message downloads comes back shortly.
TEST_F(ScriptedMailTest, ReadingAMessageLeavesTheAutomaticTimerRunning) {
  Serve(0, ListSession(2));
  ASSERT_TRUE(CheckAndWait());
  ASSERT_EQ(Rows(), 2);
  testing::FakePopServer& show = Serve(0, ShowSession(2));
  Select(1);
  ASSERT_TRUE(window_->mail_job_running());
  SendMessageA(window_->hwnd(), WM_TIMER, IDT_AUTO_MAIL, 0);  // refused: a message is being read
  ASSERT_TRUE(PumpUntil([&] { return !window_->mail_job_running(); }));
  EXPECT_TRUE(Saw(show, "RETR 2"));
  EXPECT_TRUE(TakeMailTimer());
}

// The interval a check's end arms the timer with is the one of that moment.
TEST_F(ScriptedMailTest, ACheckArmsTheTimerWithTheIntervalOfItsEnd) {
  Serve(0, ListSession(1));
  SendMessageA(window_->hwnd(), WM_COMMAND, IDM_MAIL_CHECK, 0);
  state_->settings.auto_check_time = 0;  // set to none while the check runs
  ASSERT_TRUE(PumpUntil([this] { return !window_->mail_job_running(); }));
  EXPECT_FALSE(TakeMailTimer());
}

// The options dialog's OK enables account 1 while the rows of accounts 2 and
// 4 are listed: account 4 moves from entry 1 to entry 2, and its row still
// reads its own message.
class TwoAccountTest : public ScriptedMailTest {
 protected:
  std::string MailSettings() const override {
    return "[MailPopSetting]\r\nTimeOut=3\r\nMail1AccountData=0\t127.0.0.1\tu1\tp\t\r\n"
           "Mail2AccountData=1\t127.0.0.1\tu2\tp\t\r\n"
           "Mail4AccountData=1\t127.0.0.1\tu4\tp\t\r\n";
  }
};

TEST_F(TwoAccountTest, RowsKeepTheirAccountThroughARebuildOfTheCheckList) {
  Serve(1, ListSession(1));
  Serve(3, ListSession(2));
  ASSERT_TRUE(CheckAndWait());
  ASSERT_EQ(Rows(), 3);
  SettingsState& live = state_->settings;
  live.accounts[0].enabled = 1;
  live.check_list = RebuildMailCheckList(live.accounts, live.check_list);
  testing::FakePopServer& show = Serve(3, ShowSession(2, "USER u4"));
  Select(2);
  ASSERT_TRUE(PumpUntil([&] { return Saw(show, "QUIT"); }));
  EXPECT_TRUE(Saw(show, "RETR 2"));
  EXPECT_TRUE(show.Mismatches().empty());
}

// The account column shows the user name the log-in read (the incomplete-
// account prompt may change it after the job started).
TEST_F(ScriptedMailTest, RowsShowTheUserNameTheLogInRead) {
  testing::FakePopServer& server = Serve(0, ListSession(2, 0, 0, "USER renamed"));
  SendMessageA(window_->hwnd(), WM_COMMAND, IDM_MAIL_CHECK, 0);
  state_->settings.accounts[0].user_name.Set("renamed");
  ASSERT_TRUE(PumpUntil([this] { return !window_->mail_job_running(); }));
  EXPECT_TRUE(server.Mismatches().empty());
  ASSERT_EQ(Rows(), 2);
  EXPECT_EQ(Cell(0, 0), "renamed");
  EXPECT_EQ(Cell(1, 0), "renamed");
}

// The mail window closed while message 2 downloads and opened again by the
// menu's check (refused, a check runs): the job stops, and the new window
// gets none of its rows.
TEST_F(ScriptedMailTest, AWindowClosedAndOpenedAgainDuringACheckGetsNoneOfItsRows) {
  testing::FakePopServer& server = Serve(0, ListSession(3, 2, 800));
  SendMessageA(window_->hwnd(), WM_COMMAND, IDM_MAIL_CHECK, 0);
  ASSERT_TRUE(PumpUntil([this] { return window_->mail_window() && Rows() == 1; }));
  const HWND first = window_->mail_window();
  SendMessageA(first, WM_COMMAND, IDOK, 0);
  SendMessageA(window_->hwnd(), WM_COMMAND, IDM_MAIL_CHECK, 0);
  ASSERT_NE(window_->mail_window(), nullptr);
  ASSERT_TRUE(PumpUntil([this] { return !window_->mail_job_running(); }));
  EXPECT_EQ(Rows(), 0);
  EXPECT_TRUE(Saw(server, "QUIT"));
}

// A show job is over once the user-interface thread takes its last call:
// until then another selection is refused; then the row selected meanwhile
// is shown at once, and no pump waits on any thread.
TEST_F(ScriptedMailTest, AShownMessageEndsItsJobWithItsLastCallAndTheNextFollowsAtOnce) {
  Serve(0, ListSession(2));
  ASSERT_TRUE(CheckAndWait());
  testing::FakePopServer& first = Serve(0, ShowSession(1));
  Select(0);
  for (int i = 0; i < 500 && !Saw(first, "QUIT"); ++i) {
    PumpMessages();
    Sleep(10);
  }
  Sleep(300);  // the worker hands over its last calls and ends, unseen
  Select(1);   // refused: the job is not over
  EXPECT_TRUE(window_->mail_job_running());
  testing::FakePopServer& second = Serve(0, ShowSession(2));
  DWORD longest = 0;
  EXPECT_TRUE(PumpUntil([&] { return Saw(second, "QUIT") && !window_->mail_job_running(); },
                        &longest));
  EXPECT_TRUE(Saw(second, "RETR 2"));
  EXPECT_LT(longest, 1000u);
}

// Closed while a check reads message 2: the account is finished with what
// it saw and its state reaches the saved file; meanwhile the window answers
// messages sent by another thread, and the close ends within TimeOut + 1 s.
TEST_F(ScriptedMailTest, ClosingDuringACheckSavesItsStateAndAnswersSentMessages) {
  Serve(0, ListSession(3, 2, 1500, "USER", 2));  // stopped, the check reads no third header
  SendMessageA(window_->hwnd(), WM_COMMAND, IDM_MAIL_CHECK, 0);
  ASSERT_TRUE(PumpUntil([this] { return window_->mail_window() && Rows() == 1; }));
  std::atomic<DWORD> answered_after{~0u};
  const HWND main = window_->hwnd();
  std::thread sender([&] {
    Sleep(200);
    const DWORD start = GetTickCount();
    DWORD_PTR ignored = 0;
    if (SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored)) {
      answered_after = GetTickCount() - start;
    }
  });
  const DWORD start = GetTickCount();
  SendMessageA(main, WM_CLOSE, 0, 0);
  const DWORD took = GetTickCount() - start;
  sender.join();
  EXPECT_LE(took, 3000u);  // the check's end, well within TimeOut + 1 s
  EXPECT_LT(answered_after.load(), 500u);
  std::ifstream saved(dir_.Path() + "\\vsmrsys.ini", std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("Mail1PrevMailData=3,<m1@x>"), std::string::npos) << text;
}

}  // namespace
}  // namespace vsmr
