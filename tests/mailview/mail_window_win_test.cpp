// The mail window on its real template under Wine: creation from the settings,
// 600 rows with their accounts, the commands 107 (rows past the list ignored)
// and 108, the layout after a resize and the controls' pixels after growing and
// shrinking, a splitter drag with the real pointer, close writing the geometry
// back, the four row state images, the row menu's 削除 greyed while deleting is
// off, and the text view: a link under a real click, vertical writing, copy,
// the font dialog and saving.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <span>
#include <vector>

#include "base/file_io.h"
#include "base/resource_ids.h"
#include "mail/mime/mail_compose.h"
#include "mail/mime/mime_data.h"
#include "mailview/mail_layout.h"
#include "mailview/mail_window_win.h"
#include "support/dialog_driver_win.h"
#include "support/temp_dir.h"

namespace vsmr {
namespace {

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

RECT ClientPlace(HWND dialog, int id) {
  RECT r{};
  GetWindowRect(GetDlgItem(dialog, id), &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string Text(HWND dialog, int id) {
  char text[256] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

std::string Cell(HWND list, int row, int column) {
  char text[256] = {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class MailWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { LoadLibraryA("RichEd32.Dll"); }

  void SetUp() override {
    settings_.new_mail_dialog_left = 100;
    settings_.new_mail_dialog_top = 80;
    settings_.new_mail_dialog_right = 660;
    settings_.new_mail_dialog_bottom = 410;
    settings_.new_mail_dialog_list_height = 110;
  }

  bool Open() {
    const bool made = window_.Create(GetModuleHandleA(nullptr), nullptr, settings_);
    dialog_ = window_.Handle();
    return made;
  }

  int ClientHeight() const {
    RECT c;
    GetClientRect(dialog_, &c);
    return c.bottom;
  }

  SettingsState settings_;
  MailWindow window_;
  HWND dialog_ = nullptr;
};

TEST_F(MailWindowTest, OpensAtTheSavedRectangleWithColumnsTitleAndTextViewSetUp) {
  ASSERT_TRUE(Open());
  RECT r;
  GetWindowRect(dialog_, &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 80);
  EXPECT_EQ(r.right, 660);
  EXPECT_EQ(r.bottom, 410);
  EXPECT_FALSE(IsWindowVisible(dialog_));
  char title[64] = {};
  GetWindowTextA(dialog_, title, sizeof title);
  EXPECT_STREQ(title, "メール");
  EXPECT_NE(SendMessageA(dialog_, WM_GETICON, ICON_SMALL, 0), 0);

  HWND list = GetDlgItem(dialog_, IDC_MAIL_LIST);
  const char* headings[] = {"アカウント", "送信者", "件名", "受信日時", "サイズ"};
  const int widths[] = {64, 124, 198, 100, 50};
  for (int i = 0; i < 5; ++i) {
    char text[64] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = text;
    column.cchTextMax = sizeof text;
    ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(text, headings[i]);
    EXPECT_EQ(column.cx, widths[i]);
  }
  const LRESULT extended = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  EXPECT_EQ(extended & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP),
            LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);

  HWND text = GetDlgItem(dialog_, IDC_MAIL_TEXT);
  EXPECT_TRUE(SendMessageA(text, EM_GETEVENTMASK, 0, 0) & ENM_MOUSEEVENTS);
  // The view's character format reports the font it was given (heights in twips).
  CHARFORMATA format{};
  format.cbSize = sizeof format;
  SendMessageA(text, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  EXPECT_STREQ(format.szFaceName, "ＭＳ ゴシック");
  EXPECT_EQ(format.bCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(std::abs(format.yHeight), 12 * 1440 / 96);  // 12 pixels at 96 dots an inch
  window_.ShowAndRaise();
  Pump();
  EXPECT_TRUE(IsWindowVisible(dialog_));
  EXPECT_EQ(GetFocus(), text);
}

TEST_F(MailWindowTest, SixHundredRowsKeepTheirAccountsAndTheCommandsUpdateListAndStatus) {
  ASSERT_TRUE(Open());
  std::vector<MailListRow> rows;
  for (int row = 0; row < 600; ++row) {
    rows.push_back({"user" + std::to_string(row / 300), "差出人", "件名 " + std::to_string(row),
                    "12/07 20:00", std::to_string(1000 + row), row % 4, {row % 300 + 1, "", 1000 + row}});
  }
  // The first half a row at a time, the second in one batch.
  for (int row = 0; row < 300; ++row) {
    ASSERT_EQ(window_.AddRow(rows[row]), row);
    window_.SetRowAccount(row, 0);
  }
  ASSERT_EQ(window_.AddRows(std::span(rows).subspan(300)), 300);
  for (int row = 300; row < 600; ++row) SendMessageA(dialog_, WM_COMMAND, IDM_MAIL_ROWS, row * 10 + 3);
  EXPECT_EQ(window_.RowCount(), 600);
  HWND list = GetDlgItem(dialog_, IDC_MAIL_LIST);
  EXPECT_EQ(Cell(list, 599, 0), "user1");
  EXPECT_EQ(Cell(list, 599, 2), "件名 599");
  EXPECT_EQ(Cell(list, 599, 4), "1599");
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = 598;
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.iImage, 2);
  EXPECT_EQ(window_.RowAccount(299), 0);
  EXPECT_EQ(window_.RowAccount(599), 3);
  EXPECT_EQ(window_.RowMessageNumber(599), 300);
  // Any process can send 107: a row the list does not hold is ignored.
  SendMessageA(dialog_, WM_COMMAND, IDM_MAIL_ROWS, 0x7FFFFFFF);
  SendMessageA(dialog_, WM_COMMAND, IDM_MAIL_ROWS, 600 * 10 + 1);
  EXPECT_EQ(window_.RowAccount(0x7FFFFFFF / 10), -1);
  EXPECT_EQ(window_.RowAccount(600), -1);
  EXPECT_EQ(window_.RowMessageNumber(599), 300);

  SendMessageA(dialog_, WM_COMMAND, IDM_MAIL_COUNT, 0);
  EXPECT_EQ(Text(dialog_, IDC_MAIL_STATUS), "新着メールが600通あります");
  SendMessageA(dialog_, WM_COMMAND, IDM_MAIL_ROWS, static_cast<LPARAM>(-1));
  EXPECT_EQ(window_.RowCount(), 0);
  EXPECT_EQ(window_.RowAccount(0), -1);
  SendMessageA(dialog_, WM_COMMAND, IDM_MAIL_COUNT, 0);
  EXPECT_EQ(Text(dialog_, IDC_MAIL_STATUS), "新着メールはありません");
  window_.SetStatus("メール内容を取得中");
  EXPECT_EQ(Text(dialog_, IDC_MAIL_STATUS), "メール内容を取得中");
}

TEST_F(MailWindowTest, ResizeLaysOutEveryControlAndTheSmallestSizeFollowsTheList) {
  ASSERT_TRUE(Open());
  SetWindowPos(dialog_, nullptr, 0, 0, 720, 500, SWP_NOMOVE | SWP_NOZORDER);
  RECT client;
  GetClientRect(dialog_, &client);
  for (const MailControlPlace& p : LayoutMailWindow(client.right, client.bottom, 110)) {
    SCOPED_TRACE(p.id);
    const RECT r = ClientPlace(dialog_, p.id);
    EXPECT_EQ(r.left, p.x);
    EXPECT_EQ(r.top, p.y);
    EXPECT_EQ(r.right - r.left, p.width);
    EXPECT_EQ(r.bottom - r.top, p.height);
  }
  MINMAXINFO info{};
  SendMessageA(dialog_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 560);
  EXPECT_EQ(info.ptMinTrackSize.y, 160);
  SetWindowPos(dialog_, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
  RECT r;
  GetWindowRect(dialog_, &r);
  EXPECT_EQ(r.right - r.left, 560);
  EXPECT_EQ(r.bottom - r.top, 160);
}

// Pixels of the screen inside control `id` that are as dark as text.
int DarkPixels(HWND dialog, int id) {
  RECT r{};
  GetWindowRect(GetDlgItem(dialog, id), &r);
  HDC screen = GetDC(nullptr);
  int dark = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      const COLORREF c = GetPixel(screen, x, y);
      if (GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80) ++dark;
    }
  }
  ReleaseDC(nullptr, screen);
  return dark;
}

// Moved controls must be drawn afresh: bits copied from where they were come
// from a surface that a larger window has only just been given.
TEST_F(MailWindowTest, StatusLineAndButtonsAreDrawnAfterEnlargingAndShrinking) {
  ASSERT_TRUE(Open());
  window_.ShowAndRaise();
  SetForegroundWindow(dialog_);
  window_.SetStatus("新着メールはありません");
  const struct {
    int width, height;
  } sizes[] = {{560, 330}, {700, 470}, {900, 620}, {600, 360}, {560, 330}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
    SetWindowPos(dialog_, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER);
    for (int i = 0; i < 10; ++i) {
      Pump();
      Sleep(30);
    }
    for (int id : {IDC_MAIL_STATUS, IDC_MAIL_FORMAT, IDC_MAIL_SAVE, IDOK}) {
      SCOPED_TRACE(id);
      EXPECT_GT(DarkPixels(dialog_, id), 20) << "no text drawn where the control is";
    }
  }
}

// The pointer driven through the system's input queue, as a user's mouse would.
void MouseTo(HWND dialog, int x, int y, DWORD button) {
  POINT p{x, y};
  ClientToScreen(dialog, &p);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button;
  SendInput(1, &input, sizeof input);
  for (int i = 0; i < 10; ++i) {
    Pump();
    Sleep(20);
  }
}

TEST_F(MailWindowTest, RealPointerShowsTheSizingCursorOverTheBandAndDragsTheSplitter) {
  ASSERT_TRUE(Open());
  window_.ShowAndRaise();
  SetForegroundWindow(dialog_);
  Pump();
  MouseTo(dialog_, 300, 112, 0);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_SIZENS));
  MouseTo(dialog_, 300, 112, MOUSEEVENTF_LEFTDOWN);
  EXPECT_EQ(GetCapture(), dialog_);
  MouseTo(dialog_, 300, 62, 0);
  EXPECT_EQ(ClientPlace(dialog_, IDC_MAIL_LIST).bottom, 60);
  MouseTo(dialog_, 300, 72, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(window_.ListHeight(), 70);
  EXPECT_NE(GetCapture(), dialog_);
  MouseTo(dialog_, 300, 20, 0);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));

  // Dragged to 19 pixels the list is hidden, and the smallest height follows it.
  MouseTo(dialog_, 300, 71, MOUSEEVENTF_LEFTDOWN);
  MouseTo(dialog_, 300, 20, MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(window_.ListHeight(), 0);
  EXPECT_EQ(ClientPlace(dialog_, IDC_MAIL_TEXT).top, 3);
  MINMAXINFO info{};
  SendMessageA(dialog_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.y, 50);
}

TEST_F(MailWindowTest, CloseButtonAndCloseBoxWriteTheGeometryBackAndDestroy) {
  for (bool close_box : {false, true}) {
    SCOPED_TRACE(close_box);
    SetUp();
    ASSERT_TRUE(Open());
    SetWindowPos(dialog_, nullptr, 50, 60, 600, 400, SWP_NOZORDER);
    SendMessageA(dialog_, WM_LBUTTONDOWN, MK_LBUTTON, At(30, 111));
    SendMessageA(dialog_, WM_LBUTTONUP, 0, At(30, 151));
    const HWND closing = dialog_;
    if (close_box) {
      SendMessageA(closing, WM_CLOSE, 0, 0);
    } else {
      SendMessageA(closing, WM_COMMAND, IDOK, 0);
    }
    EXPECT_FALSE(window_.Exists());
    EXPECT_FALSE(IsWindow(closing));
    EXPECT_EQ(settings_.new_mail_dialog_left, 50);
    EXPECT_EQ(settings_.new_mail_dialog_top, 60);
    EXPECT_EQ(settings_.new_mail_dialog_right, 650);
    EXPECT_EQ(settings_.new_mail_dialog_bottom, 460);
    EXPECT_EQ(settings_.new_mail_dialog_list_height, 150);
  }
}

// Each image drawn on green: entry 3 leaves it green, the others each change it differently.
TEST_F(MailWindowTest, StateImagesAreThreeDistinctPicturesAndAnEmptyFourth) {
  ASSERT_TRUE(Open());
  auto images = reinterpret_cast<HIMAGELIST>(
      SendMessageA(GetDlgItem(dialog_, IDC_MAIL_LIST), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(images), 4);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(images, &cx, &cy);
  EXPECT_EQ(cx, 11);
  EXPECT_EQ(cy, 11);

  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 11, 11);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, canvas);
  const COLORREF green = RGB(0, 255, 0);
  std::vector<std::vector<COLORREF>> pictures;
  for (int i = 0; i < 4; ++i) {
    HBRUSH brush = CreateSolidBrush(green);
    const RECT all{0, 0, 11, 11};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ImageList_Draw(images, i, dc, 0, 0, ILD_TRANSPARENT);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 11; ++y)
      for (int x = 0; x < 11; ++x) pixels.push_back(GetPixel(dc, x, y));
    pictures.push_back(pixels);
  }
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
  const std::vector<COLORREF> blank(121, green);
  EXPECT_EQ(pictures[3], blank);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_NE(pictures[i], blank);
    EXPECT_EQ(pictures[i][0], green);  // the corner is transparent
    EXPECT_NE(pictures[i], pictures[(i + 1) % 3]);
  }
}

// The text view's client point of character `index`, in the dialog's client coordinates.
POINT CharPoint(HWND dialog, int index) {
  HWND view = GetDlgItem(dialog, IDC_MAIL_TEXT);
  POINTL at{};
  SendMessageA(view, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), index);
  POINT p{at.x + 2, at.y + 4};
  MapWindowPoints(view, dialog, &p, 1);
  return p;
}

CHARRANGE Selection(HWND dialog) {
  CHARRANGE range{};
  SendDlgItemMessageA(dialog, IDC_MAIL_TEXT, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return range;
}

TEST_F(MailWindowTest, RealClickSelectsTheLinkUnderItAndAClickOnKanjiSelectsNothing) {
  ASSERT_TRUE(Open());
  window_.ShowAndRaise();
  SetForegroundWindow(dialog_);
  // Positions count characters, not bytes: the second line starts at 4 (two kanji, CR, LF).
  SetDlgItemTextA(dialog_, IDC_MAIL_TEXT, "件名\r\n資料は<http://example.jp/a?b=1>へ 連絡 taro@ex.jp");
  Pump();
  const int link = 4 + 4;  // "http" after "資料は<"
  const POINT inside = CharPoint(dialog_, link + 10);
  MouseTo(dialog_, inside.x, inside.y, MOUSEEVENTF_LEFTDOWN);
  MouseTo(dialog_, inside.x, inside.y, MOUSEEVENTF_LEFTUP);
  CHARRANGE got = Selection(dialog_);
  EXPECT_EQ(got.cpMin, link);
  EXPECT_EQ(got.cpMax, link + 23);

  const POINT kanji = CharPoint(dialog_, 6);
  MouseTo(dialog_, kanji.x, kanji.y, MOUSEEVENTF_LEFTDOWN);
  MouseTo(dialog_, kanji.x, kanji.y, MOUSEEVENTF_LEFTUP);
  got = Selection(dialog_);
  EXPECT_EQ(got.cpMax - got.cpMin, 0);

  // A double click opens the mail address through the shell and shows its target.
  const int mail = link + 23 + 6;  // after ">へ 連絡 "
  const POINT address = CharPoint(dialog_, mail + 2);
  for (int i = 0; i < 2; ++i) {
    MouseTo(dialog_, address.x, address.y, MOUSEEVENTF_LEFTDOWN);
    MouseTo(dialog_, address.x, address.y, MOUSEEVENTF_LEFTUP);
  }
  EXPECT_EQ(Text(dialog_, IDC_MAIL_STATUS), "mailto:taro@ex.jp");
}

TEST_F(MailWindowTest, VerticalWritingTogglesOptionAndCheckMarkAndSelectAllCopiesTheText) {
  ASSERT_TRUE(Open());
  HWND view = GetDlgItem(dialog_, IDC_MAIL_TEXT);
  for (bool expect_on : {true, false}) {
    SCOPED_TRACE(expect_on);
    SendMessageA(dialog_, WM_COMMAND, IDM_MAIL_VERTICAL, 0);
    // The option is kept even where the control does not draw vertically (Wine).
    EXPECT_EQ((SendMessageA(view, EM_GETOPTIONS, 0, 0) & ECO_VERTICAL) != 0, expect_on);
    EXPECT_EQ((GetMenuState(window_.FormatMenu(), IDM_MAIL_VERTICAL, MF_BYCOMMAND) & MF_CHECKED) != 0,
              expect_on);
  }

  const char text[] = "本文の一行目\r\n二行目 http://a.jp";
  SetWindowTextA(view, text);
  SendMessageA(dialog_, WM_COMMAND, IDM_MAIL_SELECT_ALL, 0);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  SendMessageA(dialog_, WM_COMMAND, IDM_MAIL_COPY, 0);
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_TEXT);
  ASSERT_NE(data, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(data)), text);
  GlobalUnlock(data);
  CloseClipboard();
}

TEST_F(MailWindowTest, CancelledFontDialogKeepsTheViewsFont) {
  ASSERT_TRUE(Open());
  {
    DialogDriver cancel([](HWND dialog) { Press(dialog, IDCANCEL); });
    SendMessageA(dialog_, WM_COMMAND, IDM_MAIL_FONT, 0);
  }
  CHARFORMATA format{};
  format.cbSize = sizeof format;
  SendDlgItemMessageA(dialog_, IDC_MAIL_TEXT, EM_GETCHARFORMAT, SCF_DEFAULT,
                      reinterpret_cast<LPARAM>(&format));
  EXPECT_STREQ(format.szFaceName, "ＭＳ ゴシック");
}

BOOL CALLBACK FindOtherDialog(HWND w, LPARAM io) {
  auto* found = reinterpret_cast<HWND*>(io);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (w != found[0] && pid == GetCurrentProcessId() && IsWindowVisible(w) &&
      std::string(cls) == "#32770") {
    found[1] = w;
    return FALSE;
  }
  return TRUE;
}

// The save dialog driven as a user would: the name typed, OK, and Yes to replacing.
TEST_F(MailWindowTest, SaveOverALongerFileLeavesExactlyTheViewsText) {
  TempDir dir;
  const std::string path = dir.File("mail.txt");
  ASSERT_TRUE(WriteFileAtomically(path, std::string(5000, 'x')));
  ASSERT_TRUE(Open());  // hidden, so that the only dialog shown is the save dialog
  const char text[] = "送信者: 山田 <yamada@ex.jp>\r\n\r\n本文です。";
  SetDlgItemTextA(dialog_, IDC_MAIL_TEXT, text);
  bool replaced_asked = false;
  {
    DialogDriver save([&](HWND dialog) {
      char title[64] = {};
      GetWindowTextA(dialog, title, sizeof title);
      EXPECT_STREQ(title, "名前を付けて保存する");
      if (!SetDlgItemTextA(dialog, cmb13, path.c_str())) SetDlgItemTextA(dialog, edt1, path.c_str());
      std::thread press([dialog] { Press(dialog, IDOK); });
      HWND found[2] = {dialog, nullptr};
      for (int i = 0; i < 200 && !found[1]; ++i, Sleep(50)) {
        EnumWindows(FindOtherDialog, reinterpret_cast<LPARAM>(found));
      }
      replaced_asked = found[1] != nullptr;
      if (found[1]) PostMessageA(found[1], WM_COMMAND, IDYES, 0);
      press.join();
    });
    SendMessageA(dialog_, WM_COMMAND, IDC_MAIL_SAVE, 0);
  }
  EXPECT_TRUE(replaced_asked);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes, text);
  EXPECT_FALSE(SendDlgItemMessageA(dialog_, IDC_MAIL_TEXT, EM_GETMODIFY, 0, 0));
}

// Code page 932 text as the characters it stands for.
std::wstring Characters(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()),
                                                           wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

// The text view's whole text, as the user sees and saves it.
std::string ViewText(HWND dialog) {
  HWND view = GetDlgItem(dialog, IDC_MAIL_TEXT);
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(view)) * 2 + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(view, text.data(), static_cast<int>(text.size()))));
  return text;
}

// `vsmr mail --show` prints ComposeMailText's text of the message (byte for
// byte on Windows); the view must show those same characters: messages in each
// charset with code page 932's own characters and geta marks, HTML made text,
// and one longer than a rich edit control takes by default. (Characters, not
// bytes: for the IBM kanji that the code page has twice the view gives back the
// IBM code where Python's encoder, and so --show, writes NEC's.)
TEST_F(MailWindowTest, TextViewShowsTheComposedText) {
  ASSERT_TRUE(Open());
  std::string long_body;
  for (int i = 0; i < 3000; ++i) long_body += "\xe9\x95\xb7\xe3\x81\x84\xe6\x9c\xac\xe6\x96\x87 line " + std::to_string(i) + "\n";
  std::vector<std::string> messages = {
      "Content-Type: text/plain; charset=utf-8\r\nSubject: =?utf-8?b?6ZW344GE?=\r\n\r\n" + long_body};
  for (const char* name : {"utf8_8bit", "windows31j_base64", "euc_jp_quoted_printable", "html_only", "alternative"}) {
    messages.push_back(test::LoadMimeData(std::string(name) + ".eml"));
  }
  for (const std::string& message : messages) {
    SCOPED_TRACE(message.substr(0, 60));
    const std::string retr = "+OK\r\n" + message;
    const std::wstring composed = Characters(ComposeMailText(retr, retr.size()));
    window_.SetText(ComposeMailText(retr, retr.size()));
    const std::wstring shown = Characters(ViewText(dialog_));
    std::size_t at = 0;
    while (at < composed.size() && at < shown.size() && composed[at] == shown[at]) ++at;
    EXPECT_TRUE(composed == shown) << composed.size() << " characters composed, " << shown.size()
                                   << " shown, first difference at " << at;
  }
}

void SelectOnly(HWND list, int row) {
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  state.state = LVIS_SELECTED;
  SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

TEST_F(MailWindowTest, RowsStartTheirJobsWithAccountMessageAndRow) {
  ASSERT_TRUE(Open());
  std::vector<std::string> jobs;
  window_.SetJobStarter([&](int kind, int index, const MailMessageRef& message, int row) {
    jobs.push_back(std::to_string(kind) + " " + std::to_string(index) + " " +
                   std::to_string(message.number) + " " + message.message_id + " " +
                   std::to_string(row));
    return true;
  });
  // The rows carry the server's numbers (a gap between them), not their places.
  const int numbers[] = {5, 7, 11, 13};
  for (int row = 0; row < 4; ++row) {
    const MailMessageRef message{numbers[row], "<m" + std::to_string(numbers[row]) + ">", 1};
    window_.SetRowAccount(window_.AddRow({"u", "s", "t", "d", "1", 3, message}), row < 2 ? 0 : 2);
  }
  HWND list = GetDlgItem(dialog_, IDC_MAIL_LIST);
  SelectOnly(list, 3);
  SendMessageA(dialog_, WM_COMMAND, IDM_MAIL_SHOWN, 3);  // the shown row is still selected
  SendMessageA(dialog_, WM_COMMAND, IDM_MAIL_SOURCE, 0);
  settings_.delete_mail_permission = 0;
  SendMessageA(dialog_, WM_COMMAND, IDM_MAIL_DELETE, 0);
  settings_.delete_mail_permission = 1;
  SendMessageA(dialog_, WM_COMMAND, IDM_MAIL_DELETE, 0);
  SelectOnly(list, 1);
  jobs.push_back("-");
  SendMessageA(dialog_, WM_COMMAND, IDM_MAIL_SHOWN, 3);  // selected meanwhile: caught up
  EXPECT_EQ(jobs, (std::vector<std::string>{"4 2 13 <m13> 3", "5 2 13 <m13> 3", "6 2 13 <m13> 0",
                                            "4 0 7 <m7> 1", "-", "4 0 7 <m7> 1"}));
}

BOOL CALLBACK FindOwnMenu(HWND w, LPARAM out) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (pid == GetCurrentProcessId() && IsWindowVisible(w) && std::string(cls) == "#32768") {
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
  }
  return TRUE;
}

TEST_F(MailWindowTest, RowMenuGreysDeleteWhileDeletingIsOff) {
  ASSERT_TRUE(Open());
  window_.ShowAndRaise();
  window_.SetRowAccount(window_.AddRow({"u", "s", "t", "d", "1", 3}), 0);
  HWND list = GetDlgItem(dialog_, IDC_MAIL_LIST);
  for (int permission : {0, 1}) {
    SCOPED_TRACE(permission);
    settings_.delete_mail_permission = permission;
    UINT source = 0xFFFF, remove = 0xFFFF;
    // Reads the tracked menu's items, then closes it as Escape would.
    std::thread reader([&] {
      HWND menu = nullptr;
      for (int i = 0; i < 200 && !menu; ++i, Sleep(50)) EnumWindows(FindOwnMenu, reinterpret_cast<LPARAM>(&menu));
      if (!menu) return;
      auto items = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
      source = GetMenuState(items, IDM_MAIL_SOURCE, MF_BYCOMMAND);
      remove = GetMenuState(items, IDM_MAIL_DELETE, MF_BYCOMMAND);
      PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    NMITEMACTIVATE click{};
    click.hdr = {list, IDC_MAIL_LIST, static_cast<UINT>(NM_RCLICK)};
    click.iItem = 0;
    click.ptAction = {20, 30};
    SendMessageA(dialog_, WM_NOTIFY, IDC_MAIL_LIST, reinterpret_cast<LPARAM>(&click));
    reader.join();
    ASSERT_NE(remove, 0xFFFFu) << "no row menu was shown";
    EXPECT_EQ(source & MF_GRAYED, 0u);
    EXPECT_EQ((remove & MF_GRAYED) != 0, permission == 0);
  }
}

// Not a check, so not run by default: a picture of the window with Japanese rows
// for a person to look at. Run with --gtest_also_run_disabled_tests and
// VSMR_MAIL_SHOT=FILE.bmp.
TEST_F(MailWindowTest, DISABLED_SavesAPicture) {
  const char* path = std::getenv("VSMR_MAIL_SHOT");
  ASSERT_NE(path, nullptr) << "VSMR_MAIL_SHOT names the picture file";
  ASSERT_TRUE(Open());
  const MailListRow rows[] = {
      {"taro", "山田 花子", "会議の資料について", "12/07 09:15", "2048", kMailImageNone},
      {"taro", "佐藤 一郎", "【重要】月次報告書（添付あり）", "12/07 10:02", "48213",
       kMailImageMultipart},
      {"taro", "鈴木 次郎", "今夜の打ち合わせ", "12/07 18:40", "1536", kMailImageNew},
      {"hanako", "田中 美咲", "写真を送ります", "12/07 19:05", "250880", kMailImageNewMultipart},
  };
  for (int i = 0; i < 4; ++i) window_.SetRowAccount(window_.AddRow(rows[i]), i < 3 ? 0 : 1);
  window_.RefreshCount();
  // A message as a server sends it: an encoded subject and an ISO-2022-JP body.
  const std::string message =
      "+OK message follows\r\nFrom: Hanako Yamada <hanako@example.jp>\r\n"
      "To: taro@example.jp\r\nSubject: =?ISO-2022-JP?B?GyRCMnE1RCROO3FOQRsoQg==?=\r\n"
      "Date: Mon, 7 Dec 2026 09:15:00 +0900\r\nContent-Type: text/plain; charset=ISO-2022-JP\r\n"
      "\r\n"
      "\033$BK\134F|$N2q5D$N;qNA$r$*Aw$j$7$^$9!#\033(B\r\n"
      "\033$B$43NG'$/$@$5$$!#\033(B\r\n"
      "\033$B>\134:Y$O\033(B http://example.jp/docs \033$B$r$4Mw$/$@$5$$!#\033(B\r\n";
  window_.SetText(ComposeMailText(message, message.size()));
  window_.ShowAndRaise();
  for (int i = 0; i < 20; ++i) {
    Pump();
    Sleep(50);
  }
  RECT r;
  GetWindowRect(dialog_, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP shot = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(dc, shot);
  BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(dc, old);
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = w;
  info.biHeight = h;
  info.biPlanes = 1;
  info.biBitCount = 24;
  const int stride = (w * 3 + 3) & ~3;
  std::vector<char> bits(stride * h);
  GetDIBits(dc, shot, 0, h, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(shot);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4d42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + bits.size());
  FILE* out = std::fopen(path, "wb");
  ASSERT_NE(out, nullptr);
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info, sizeof info, 1, out);
  std::fwrite(bits.data(), 1, bits.size(), out);
  std::fclose(out);
}

}  // namespace
}  // namespace vsmr
