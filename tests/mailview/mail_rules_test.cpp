// The mail window's portable rules: the layout table, the list-height clamps at
// opening and during a splitter drag, the row account table, the count text,
// link finding in the text and saving the text.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "base/file_io.h"
#include "base/resource_ids.h"
#include "mailview/mail_layout.h"
#include "mailview/mail_link.h"
#include "mailview/mail_rows.h"
#include "mailview/mail_save.h"
#include "support/temp_dir.h"

namespace vsmr {
namespace {

TEST(MailLayout, PlacesEveryControlFromTheClientSizeAndListHeight) {
  const auto places = LayoutMailWindow(552, 296, 110);
  const MailControlPlace expected[] = {
      {IDC_MAIL_LIST, 0, 0, 552, 110},      {IDC_MAIL_TEXT, 0, 113, 552, 160},
      {IDC_MAIL_STATUS, 5, 280, 220, 13},   {IDC_MAIL_FORMAT, 233, 275, 51, 21},
      {IDC_MAIL_SAVE, 285, 275, 90, 21},    {1, 480, 275, 70, 21},
  };
  for (int i = 0; i < kMailControlCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(places[i].id, expected[i].id);
    EXPECT_EQ(places[i].x, expected[i].x);
    EXPECT_EQ(places[i].y, expected[i].y);
    EXPECT_EQ(places[i].width, expected[i].width);
    EXPECT_EQ(places[i].height, expected[i].height);
  }
}

TEST(MailLayout, OpeningListHeightStaysBetween40AndClientLess23) {
  struct Case {
    int saved, client, expected;
  } cases[] = {
      {0, 300, 40}, {25, 300, 40}, {39, 300, 40}, {40, 300, 40},  {110, 300, 110},
      {277, 300, 277}, {278, 300, 277}, {5000, 300, 277},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.saved);
    EXPECT_EQ(OpeningListHeight(c.saved, c.client), c.expected);
  }
}

TEST(MailLayout, SplitterBandIsTheFourRowsBelowTheList) {
  EXPECT_FALSE(InSplitterBand(109, 110));
  EXPECT_TRUE(InSplitterBand(110, 110));
  EXPECT_TRUE(InSplitterBand(113, 110));
  EXPECT_FALSE(InSplitterBand(114, 110));
}

TEST(MailLayout, DragHidesTheListBelow20AndOtherwiseClampsTo40AndClientLess23) {
  struct Case {
    int s, start, y, client, expected;
  } cases[] = {
      {110, 111, 20, 300, 0},     // to 19: hidden
      {110, 111, 21, 300, 40},    // 20 is below 40: 40
      {110, 111, 31, 300, 40},    // to 30: 40
      {110, 111, 80, 300, 79},
      {110, 111, 288, 300, 277},  // past the bottom clamp
      {0, 2, 50, 300, 48},        // from a hidden list
      {110, 111, -5, 300, 0},     // above the client area: 65531 unsigned
      {110, 111, 2001, 3000, 0},  // far below
      {110, 111, 2000, 3000, 1999},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.y);
    EXPECT_EQ(DraggedListHeight(c.s, c.start, c.y, c.client), c.expected);
  }
  EXPECT_EQ(SmallestMailWindowHeight(0), 50);
  EXPECT_EQ(SmallestMailWindowHeight(110), 160);
}

TEST(MailRows, CommandParameterRecordsRowAndIndexAndMinusOneForgets) {
  MailRowAccounts rows;
  rows.Apply(0 * 10 + 2, 5);
  rows.Apply(1 * 10 + 2, 5);
  rows.Apply(2 * 10 + 4, 5);
  rows.Apply(3 * 10 + 4, 5);
  rows.Apply(4 * 10 + 4, 5);
  // Rows the list does not hold, as another process may send them.
  rows.Apply(5 * 10 + 1, 5);
  rows.Apply(0x7FFFFFFF, 5);
  rows.Set(-3, 1, 5);
  EXPECT_EQ(rows.IndexOf(1), 2);
  EXPECT_EQ(rows.IndexOf(4), 4);
  EXPECT_EQ(rows.IndexOf(5), -1);
  EXPECT_EQ(rows.IndexOf(0x7FFFFFFF / 10), -1);
  // A row carries the server's number, whatever its place: message 2 of
  // entry 4 was not listed, and message 3 keeps its number.
  rows.SetMessage(2, {1, "<a@x>", 100});
  rows.SetMessage(3, {3, "<c@x>", 300});
  EXPECT_EQ(rows.MessageNumber(2), 1);
  EXPECT_EQ(rows.MessageNumber(3), 3);
  EXPECT_EQ(rows.Message(3).message_id, "<c@x>");
  EXPECT_EQ(rows.Message(3).size, 300);
  EXPECT_EQ(rows.MessageNumber(4), 0);  // none recorded
  EXPECT_EQ(rows.MessageNumber(5), 0);
  rows.Apply(-1, 5);
  EXPECT_EQ(rows.IndexOf(0), -1);
  EXPECT_EQ(rows.MessageNumber(0), 0);
}

TEST(MailRows, TableGrowsPast512Rows) {
  MailRowAccounts rows;
  for (int row = 0; row < 300; ++row) rows.Apply(row * 10L + 0, 700);
  for (int row = 300; row < 700; ++row) rows.Apply(row * 10L + 1, 700);
  rows.SetMessage(699, {400, "", 1});
  EXPECT_EQ(rows.IndexOf(699), 1);
  EXPECT_EQ(rows.MessageNumber(699), 400);
}

TEST(MailRows, CountTextSaysHowManyOrNone) {
  EXPECT_EQ(MailCountText(0), "新着メールはありません");
  EXPECT_EQ(MailCountText(1), "新着メールが1通あります");
  EXPECT_EQ(MailCountText(600), "新着メールが600通あります");
}


TEST(MailLink, FindsWebAndMailAddressesAroundAClick) {
  const std::string long127 = "http://" + std::string(120, 'a');
  const std::string long128 = long127 + "a";
  const std::string mail134 = std::string(130, 'a') + "@b.c";
  struct Case {
    const char* name;
    std::string text;
    std::size_t start, end;
    int kind;
    std::size_t link_start, link_end;
    std::string target;
  } cases[] = {
      {"inside a web address", "see http://a.jp/x now", 8, 8, kMailLinkWeb, 4, 17, "http://a.jp/x"},
      {"between angle brackets", "<http://x.jp/a>", 5, 5, kMailLinkWeb, 1, 14, "http://x.jp/a"},
      {"http: is searched before ftp:", "ftp://h/http:x", 0, 0, kMailLinkWeb, 8, 14, "http:x"},
      {"https: after the other two", "go https://s.jp", 5, 5, kMailLinkWeb, 3, 15, "https://s.jp"},
      {"mail address with a dot", "to taro@ex.jp.", 3, 3, kMailLinkMail, 3, 14,
       "mailto:taro@ex.jp."},
      {"the dot met scanning backward", "a.b@c", 4, 4, kMailLinkMail, 0, 5, "mailto:a.b@c"},
      {"half-width katakana belong to it", "ｱｲ@a.jp", 0, 0, kMailLinkMail, 0, 7,
       "mailto:ｱｲ@a.jp"},
      {"after a kanji whose trail byte is a backslash", "表http://x.jp", 3, 3, kMailLinkWeb, 2,
       13, "http://x.jp"},
      {"after a kanji whose trail byte is in the lead range", "二http://x.jp", 3, 3,
       kMailLinkWeb, 2, 13, "http://x.jp"},
      {"a selection end past the text", "http://x", 2, 50, kMailLinkWeb, 0, 8, "http://x"},
      {"end 127 bytes on is found", long127 + " z", 0, 0, kMailLinkWeb, 0, 127, long127},
      {"end 128 bytes on is out of reach", long128 + " z", 0, 0, kMailLinkWeb, 0, 0, long127},
      {"a wider selection reaches further", long128 + " z", 0, 10, kMailLinkWeb, 0, 128,
       long127},
      {"mail target cut to 127", mail134, 10, 10, kMailLinkMail, 0, 134,
       ("mailto:" + mail134).substr(0, 127)},
      {"@ without a dot", "to taro@host here", 5, 5, kMailLinkNone, 0, 0, ""},
      {"@ only past a blank", "x.y z@w", 0, 0, kMailLinkNone, 0, 0, ""},
      {"a plain word", "hello world", 1, 1, kMailLinkNone, 0, 0, ""},
      {"a click on a blank", "click  http://x", 5, 5, kMailLinkNone, 0, 0, ""},
      {"a click on a double-byte character", "日本 http://x", 0, 0, kMailLinkNone, 0, 0, ""},
      {"a click at the end of the text", "http://x", 8, 8, kMailLinkNone, 0, 0, ""},
      {"a click past the text", "http://x", 20, 20, kMailLinkNone, 0, 0, ""},
      {"an empty text", "", 0, 0, kMailLinkNone, 0, 0, ""},
      {"a lead byte with no trail at the end", "http://x\x82", 2, 2, kMailLinkWeb, 0, 8,
       "http://x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The text alone in its own block, so that a read past it shows under the sanitizers.
    const std::string text = c.text;
    const MailLink link = FindLinkAt(text, c.start, c.end);
    EXPECT_EQ(link.kind, c.kind);
    EXPECT_EQ(link.target, c.target);
    if (c.kind != kMailLinkNone) {
      EXPECT_EQ(link.start, c.link_start);
      EXPECT_EQ(link.end, c.link_end);
    }
  }
}

TEST(MailLink, CharacterPositionsMapToBytesOfDoubleByteText) {
  const std::string text = "aあb\r\n表";  // bytes: a, 2, b, CR, LF, 2
  const std::size_t bytes_of[] = {0, 1, 3, 4, 5, 6, 8, 8};
  for (std::size_t chars = 0; chars < std::size(bytes_of); ++chars) {
    SCOPED_TRACE(chars);
    EXPECT_EQ(SjisByteOffset(text, chars), bytes_of[chars]);
    if (chars <= 6) {
      EXPECT_EQ(SjisCharCount(text, bytes_of[chars]), chars);
    }
  }
}

TEST(MailSave, ReplacesALongerFileWithExactlyTheTextAndNamesAFileItCannotWrite) {
  TempDir dir;
  const std::string path = dir.File("mail.txt");
  ASSERT_TRUE(WriteFileAtomically(path, std::string(4000, 'x')));
  const std::string text = "送信者: 山田\r\n\r\n本文です。";
  EXPECT_EQ(SaveMailTextFile(path, text), "");
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes, text);  // no terminating zero byte, nothing of the old file

  const std::string missing = dir.File("no such folder/mail.txt");
  EXPECT_EQ(SaveMailTextFile(missing, text), "「" + missing + "」に保存できませんでした");
  // A folder where the file should be: the write fails and leaves no temporary file.
  std::filesystem::create_directory(dir.File("folder"));
  EXPECT_NE(SaveMailTextFile(dir.File("folder"), text), "");
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"folder", "mail.txt"}));
}

}  // namespace
}  // namespace vsmr
