// The button bar's slots, widths and button controls as items are shown and
// hidden, and what a click runs.
#include <gtest/gtest.h>

#include <cstdint>

#include "fake_bar_host.h"
#include "command/recording_fakes.h"

namespace vsmr {
namespace {

using test::FakeBarHost;
using Calls = std::vector<std::string>;

struct Bar {
  LauncherItem items[kLauncherItemCount];
  ButtonBar bar;
  ShellLayout layout;
  FakeBarHost host;

  void Show(std::initializer_list<int> indexes) {
    for (int i : indexes) {
      items[i].shown = 1;
      items[i].comment.Set("item" + std::to_string(i));
      items[i].path.Set("C:\\tools\\app" + std::to_string(i) + ".exe");
    }
  }
  std::vector<int> Slots() const {
    std::vector<int> out;
    for (int p = 0; p < layout.button_count; ++p) out.push_back(SlotItem(bar, layout, p));
    return out;
  }
};

TEST(ButtonBarTest, BuildShowsShownItemsInItemOrder) {
  struct Row {
    const char* name;
    std::initializer_list<int> shown;
    std::vector<int> slots;
    int width;
  } rows[] = {
      {"none shown: the bare strip", {}, {}, 88},
      {"gaps are closed up", {5, 2, 40}, {2, 5, 40}, 88 + 3 * 22},
      {"first and last item", {0, 63}, {0, 63}, 88 + 2 * 22},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Bar b;
    b.Show(row.shown);
    BuildButtonBar(b.bar, b.layout, b.items, b.host);
    EXPECT_EQ(b.Slots(), row.slots);
    EXPECT_EQ(b.layout.Width(), row.width);
  }
}

TEST(ButtonBarTest, AppendPlacesButtonWhereTheSmallButtonsWere) {
  Bar b;
  b.Show({3, 9});
  BuildButtonBar(b.bar, b.layout, b.items, b.host);
  EXPECT_EQ(b.host.calls, (Calls{"width 110", "create 0 at 74", "tip b0 item3",
                                 "width 132", "create 1 at 96", "tip b1 item9"}));
  // With the launcher box open the buttons start after it.
  Bar open;
  open.layout.launcher_open = true;
  open.layout.opened_length = 100;
  open.Show({1});
  BuildButtonBar(open.bar, open.layout, open.items, open.host);
  EXPECT_EQ(open.host.calls, (Calls{"width 210", "create 0 at 174", "tip b0 item1"}));
  EXPECT_EQ(open.layout.ButtonX(0), 174);
}

TEST(ButtonBarTest, AllItemsShownGiveSixtyFourButtonsAndNoMore) {
  Bar b;
  for (int i = 0; i < kLauncherItemCount; ++i) b.Show({i});
  BuildButtonBar(b.bar, b.layout, b.items, b.host);
  EXPECT_EQ(b.layout.button_count, 64);
  EXPECT_EQ(b.layout.Width(), 88 + 64 * 22);
  std::size_t before = b.host.calls.size();
  AppendButton(b.bar, b.layout, b.items, b.host);
  EXPECT_EQ(b.host.calls.size(), before) << "a 65th button must not be made";
  // A count past 64 is cut instead of appending for ever.
  SetButtonCount(b.bar, b.layout, b.items, 70, b.host);
  EXPECT_EQ(b.layout.button_count, 64);
  SetButtonCount(b.bar, b.layout, b.items, -3, b.host);
  EXPECT_EQ(b.layout.button_count, 0);
  EXPECT_EQ(b.layout.Width(), 88);
}

TEST(ButtonBarTest, RefreshKeepsButtonsAndRetitlesThem) {
  Bar b;
  b.Show({1, 2, 3});
  BuildButtonBar(b.bar, b.layout, b.items, b.host);
  b.host.calls.clear();

  // Hide item 2, show item 10: slot 1 now shows item 3, slot 2 item 10.
  b.items[2].shown = 0;
  b.Show({10});
  EXPECT_EQ(RefreshButtonBar(b.bar, b.layout, b.items, b.host), 3);
  EXPECT_EQ(b.Slots(), (std::vector<int>{1, 3, 10}));
  EXPECT_EQ(b.host.calls, (Calls{"tip b0 item1", "tip b1 item3", "repaint b1", "tip b2 item10",
                                 "repaint b2"}));

  // Hiding two removes the last two buttons, last first.
  b.host.calls.clear();
  b.items[1].shown = 0;
  b.items[3].shown = 0;
  EXPECT_EQ(RefreshButtonBar(b.bar, b.layout, b.items, b.host), 1);
  EXPECT_EQ(b.Slots(), (std::vector<int>{10}));
  EXPECT_EQ(b.host.calls, (Calls{"tip b0 item10", "repaint b0", "destroy b2", "width 132",
                                 "destroy b1", "width 110"}));

  // Showing more appends buttons that get their tips when made.
  b.host.calls.clear();
  b.Show({0});
  EXPECT_EQ(RefreshButtonBar(b.bar, b.layout, b.items, b.host), 2);
  EXPECT_EQ(b.host.calls, (Calls{"tip b0 item0", "repaint b0", "width 132", "create 1 at 96",
                                 "tip b1 item10"}));
}

TEST(ButtonBarTest, FailedCreationLeavesASlotWithoutWindow) {
  Bar b;
  b.Show({4});
  b.host.fail_creation = true;
  BuildButtonBar(b.bar, b.layout, b.items, b.host);
  EXPECT_EQ(b.layout.button_count, 1);
  EXPECT_EQ(b.bar.slots[0].window, nullptr);
  b.host.calls.clear();
  RemoveLastButton(b.bar, b.layout, b.host);
  EXPECT_EQ(b.host.calls, (Calls{"width 88"}));
}

TEST(ButtonBarTest, CommandIdsMapToPositionsInUse) {
  ShellLayout layout;
  layout.button_count = 3;
  EXPECT_EQ(ButtonPositionOfCommand(IDM_FIRST_BUTTON, layout), 0);
  EXPECT_EQ(ButtonPositionOfCommand(IDM_FIRST_BUTTON + 2, layout), 2);
  EXPECT_EQ(ButtonPositionOfCommand(IDM_FIRST_BUTTON + 3, layout), -1);
  EXPECT_EQ(ButtonPositionOfCommand(IDM_FIRST_BUTTON - 1, layout), -1);
}

TEST(ButtonBarTest, ClickRunsTheSlotsItemWithItsPositionAsContext) {
  Bar b;
  b.Show({6, 8});
  b.items[8].path.Set("#12 a");
  BuildButtonBar(b.bar, b.layout, b.items, b.host);
  test::Harness h;
  h.interpreter.nesting_depth = 5;  // left over from an earlier run

  EXPECT_EQ(ClickButton(b.bar, b.layout, b.items, 1, false, h.interpreter, nullptr), 1);
  ASSERT_EQ(h.builtins.calls.size(), 1u);
  EXPECT_EQ(h.builtins.calls[0].number, 12);
  EXPECT_EQ(h.builtins.calls[0].context, ButtonContext(1));
  EXPECT_EQ(h.builtins.calls[0].depth, 1) << "a click starts a fresh top-level run";

  EXPECT_EQ(ClickButton(b.bar, b.layout, b.items, 0, false, h.interpreter, nullptr), 1);
  ASSERT_EQ(h.shell.calls.size(), 1u);
  EXPECT_EQ(h.shell.calls[0].file, "C:\\tools\\app6.exe");

  // Locked, or a position without a button: nothing runs.
  EXPECT_EQ(ClickButton(b.bar, b.layout, b.items, 0, true, h.interpreter, nullptr), 0);
  EXPECT_EQ(ClickButton(b.bar, b.layout, b.items, 2, false, h.interpreter, nullptr), 0);
  EXPECT_EQ(h.shell.calls.size(), 1u);
  EXPECT_EQ(h.builtins.calls.size(), 1u);
}

}  // namespace
}  // namespace vsmr
