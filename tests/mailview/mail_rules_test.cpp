// The mail window's portable rules: the layout table, the list-height clamps at
// opening and during a splitter drag, the row account table and the count text.
#include <gtest/gtest.h>

#include <cstdint>

#include "base/resource_ids.h"
#include "mailview/mail_layout.h"
#include "mailview/mail_rows.h"

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
  rows.Apply(0 * 10 + 2);
  rows.Apply(1 * 10 + 2);
  rows.Apply(2 * 10 + 4);
  rows.Apply(3 * 10 + 4);
  rows.Apply(4 * 10 + 4);
  EXPECT_EQ(rows.IndexOf(1), 2);
  EXPECT_EQ(rows.IndexOf(4), 4);
  EXPECT_EQ(rows.IndexOf(5), -1);
  EXPECT_EQ(rows.MessageNumber(0), 1);
  EXPECT_EQ(rows.MessageNumber(1), 2);
  EXPECT_EQ(rows.MessageNumber(2), 1);
  EXPECT_EQ(rows.MessageNumber(4), 3);
  EXPECT_EQ(rows.MessageNumber(5), 0);
  rows.Apply(-1);
  EXPECT_EQ(rows.IndexOf(0), -1);
  EXPECT_EQ(rows.MessageNumber(0), 0);
}

TEST(MailRows, TableGrowsPast512Rows) {
  MailRowAccounts rows;
  for (int row = 0; row < 300; ++row) rows.Apply(row * 10L + 0);
  for (int row = 300; row < 700; ++row) rows.Apply(row * 10L + 1);
  EXPECT_EQ(rows.IndexOf(699), 1);
  EXPECT_EQ(rows.MessageNumber(299), 300);
  EXPECT_EQ(rows.MessageNumber(699), 400);
}

TEST(MailRows, CountTextSaysHowManyOrNone) {
  EXPECT_EQ(MailCountText(0), "新着メールはありません");
  EXPECT_EQ(MailCountText(1), "新着メールが1通あります");
  EXPECT_EQ(MailCountText(600), "新着メールが600通あります");
}

}  // namespace
}  // namespace vsmr
