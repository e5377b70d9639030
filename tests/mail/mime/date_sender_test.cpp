// The list's sender and date texts and the message view's long date.
#include <gtest/gtest.h>

#include "mail/mime/mail_record.h"

namespace vsmr {
namespace {

TEST(SenderListText, RemovesAngleBracketedParts) {
  struct Row {
    const char* name;
    const char* from;
    const char* shown;
  } rows[] = {
      {"nameAndAddress", "Taro <taro@example.jp>", "Taro "},
      {"addressOnly", "<taro@example.jp>", "taro@example.jp>"},
      {"plainAddress", "taro@example.jp", "taro@example.jp"},
      {"textAfterAddress", "A <a@b> (x)", "A  (x)"},
      {"twoAddresses", "A <a@b>, B <b@c>", "A , B "},
      {"unclosedEnds", "A <a@b", "A "},
      {"japaneseName", "山田 <y@example.jp>", "山田 "},
      {"empty", "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.shown, SenderListText(row.from));
  }
}

TEST(FormatMailDate, Forms) {
  struct Row {
    const char* name;
    const char* value;
    const char* short_form;
    const char* long_form;
  } rows[] = {
      {"rfc822", "Sun, 5 Jan 2003 12:34:56 +0900", "03/01/05 12:34", "2003年01月05日(日) 12:34:56"},
      {"noWeekday", "5 Jan 2003 9:05:00 +0900", "03/01/05 9:05", "2003年01月05日(?) 9:05:00"},
      {"noDate", "(日付なし)", "(日付なし)", "(日付なし)"},
      {"caseInsensitive", "MON, 15 DEC 2003 08:00:00 GMT", "03/12/15 08:00", "2003年12月15日(月) 08:00:00"},
      {"unknownMonth", "Tue, 30 Foo 2003 01:02:03", "03/01/30 01:02", "2003年01月30日(火) 01:02:03"},
      {"twoDigitYear", "Wed, 01 Feb 99 10:11 +0000", "99/02/01 10:11", "99年02月01日(水) 10:11"},
      {"extraBlanks", "Thu,  3   Mar 2011  07:08:09", "11/03/03 07:08", "2011年03月03日(木) 07:08:09"},
      {"missingTokens", "Fri, 9", "/01/09 ", "年01月09日(金) "},
      {"empty", "", "/01/ ", "年01月日(?) "},
      {"overlongTokensCut", "Sat, 1 Jan 20030000000000000000 12:00:00",
       "200300000000000/01/01 12:00", "200300000000000年01月01日(土) 12:00:00"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.short_form, FormatMailDate(row.value, MailDateForm::kShort));
    EXPECT_EQ(row.long_form, FormatMailDate(row.value, MailDateForm::kLong));
  }
}

}  // namespace
}  // namespace vsmr
