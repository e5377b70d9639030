// The launcher button bar's rules (see button_bar.h); the main window supplies
// the controls through ButtonBarHost.
#include "app/button_bar.h"

#include <cstdio>

#include "base/sjis.h"
#include "command/events.h"

namespace vsmr {

namespace {

std::string_view CommentOf(const LauncherItem* items, int item) {
  if (item < 0 || item >= kLauncherItemCount) return {};
  return items[item].comment.View();
}

}  // namespace

void AppendButton(ButtonBar& bar, ShellLayout& layout, const LauncherItem* items,
                  ButtonBarHost& host) {
  if (layout.button_count >= kMaxButtons) return;
  int position = layout.button_count;
  layout.button_count = position + 1;  // the width counts the new button
  int width = layout.Width();
  host.ApplyWidth(width);
  // The new button takes the place the small-button column had before.
  ButtonSlot& slot = bar.slots[position];
  slot.window = host.CreateButton(position, width - kSmallButtonWidth - kButtonSize);
  if (slot.window != nullptr) host.RegisterTip(slot.window, CommentOf(items, slot.item));
}

void RemoveLastButton(ButtonBar& bar, ShellLayout& layout, ButtonBarHost& host) {
  if (layout.button_count <= 0) return;
  ButtonSlot& slot = bar.slots[layout.button_count - 1];
  if (slot.window != nullptr) host.DestroyButton(slot.window);
  slot.window = nullptr;
  --layout.button_count;
  host.ApplyWidth(layout.Width());
}

void SetButtonCount(ButtonBar& bar, ShellLayout& layout, const LauncherItem* items, int count,
                    ButtonBarHost& host) {
  // Cut first: appending stops at 64, so a larger target would never be reached.
  if (count < 0) count = 0;
  if (count > kMaxButtons) count = kMaxButtons;
  while (layout.button_count < count) AppendButton(bar, layout, items, host);
  while (layout.button_count > count) RemoveLastButton(bar, layout, host);
}

void BuildButtonBar(ButtonBar& bar, ShellLayout& layout, const LauncherItem* items,
                    ButtonBarHost& host) {
  for (int i = 0; i < kLauncherItemCount && layout.button_count < kMaxButtons; ++i) {
    if (items[i].shown == 0) continue;
    bar.slots[layout.button_count].item = i;
    AppendButton(bar, layout, items, host);
  }
}

int RefreshButtonBar(ButtonBar& bar, ShellLayout& layout, const LauncherItem* items,
                     ButtonBarHost& host) {
  int shown = 0;
  for (int i = 0; i < kLauncherItemCount && shown < kMaxButtons; ++i) {
    if (items[i].shown == 0) continue;
    ButtonSlot& slot = bar.slots[shown];
    bool changed = slot.item != i;
    slot.item = i;
    // Slots past the current count get their tooltip when their button is appended.
    if (shown < layout.button_count && slot.window != nullptr) {
      host.RegisterTip(slot.window, items[i].comment.View());
      if (changed) host.RepaintButton(slot.window);
    }
    ++shown;
  }
  SetButtonCount(bar, layout, items, shown, host);
  return shown;
}

int SlotItem(const ButtonBar& bar, const ShellLayout& layout, int position) {
  if (position < 0 || position >= layout.button_count) return -1;
  int item = bar.slots[position].item;
  return item >= 0 && item < kLauncherItemCount ? item : -1;
}

int ButtonPositionOfCommand(int command_id, const ShellLayout& layout) {
  int position = command_id - IDM_FIRST_BUTTON;
  return position >= 0 && position < layout.button_count ? position : -1;
}

int ClickButton(const ButtonBar& bar, const ShellLayout& layout, const LauncherItem* items,
                int position, bool locked, Interpreter& interpreter, WindowRef window) {
  if (locked) return 0;
  int item = SlotItem(bar, layout, position);
  if (item < 0) return 0;
  return RunTopLevel(interpreter, window, items[item].path.View(), ButtonContext(position));
}

MarkedLine DropRunLine(std::string_view path, std::string_view drop_list) {
  MarkedLine line = MarkedLine::Written(path.substr(0, SjisCutLength(path, kLineMax - 1)));
  line.AddWritten(" ");
  const std::size_t room = kLineMax - line.text.size();
  if (drop_list.size() > room) {
    // Keep the names that fit whole: cut after the last closing quote that lies
    // within the room and is followed by the separator. Names are quoted, and a
    // quote or a blank is never a trail byte, so the blank found is a real separator.
    std::size_t cut = drop_list.substr(0, room + 2).rfind("\" \"");
    drop_list = cut == std::string_view::npos ? std::string_view() : drop_list.substr(0, cut + 1);
  }
  // A file name cannot hold a double quote: the bytes between each pair of
  // quotes are exactly one name.
  bool inside = false;
  for (std::size_t from = 0; from < drop_list.size();) {
    std::size_t quote = drop_list.find('"', from);
    if (quote == std::string_view::npos) quote = drop_list.size();
    const std::string_view part = drop_list.substr(from, quote - from);
    inside ? line.AddInserted(part) : line.AddWritten(part);
    if (quote < drop_list.size()) line.AddWritten("\"");
    inside = !inside;
    from = quote + 1;
  }
  return line;
}

std::string_view LastDroppedName(std::string_view drop_list) {
  while (!drop_list.empty() && drop_list.back() == ' ') drop_list.remove_suffix(1);
  if (drop_list.empty()) return {};
  if (drop_list.back() != '"') {
    std::size_t blank = drop_list.rfind(' ');
    return blank == std::string_view::npos ? drop_list : drop_list.substr(blank + 1);
  }
  drop_list.remove_suffix(1);
  std::size_t open = drop_list.rfind('"');
  return open == std::string_view::npos ? drop_list : drop_list.substr(open + 1);
}

std::string ItemChangeQuestion(int position, int item, std::string_view name) {
  char head[64];
  std::snprintf(head, sizeof head, "%d番ランチャー(ITEM%d)を", position + 1, item + 1);
  std::string text = head;
  text += name;
  text += "に変更します。";
  text.resize(SjisCutLength(text, kChangeMessageMax));
  return text;
}

void ChangeItemTo(LauncherItem& item, std::string_view name) {
  item.path.Set(name.substr(0, SjisCutLength(name, decltype(item.path)::kCapacity - 1)));
  item.icon_path.Set(name.substr(0, SjisCutLength(name, decltype(item.icon_path)::kCapacity - 1)));
  item.comment.Set(name.substr(0, SjisCutLength(name, decltype(item.comment)::kCapacity - 1)));
  item.icon_index = 0;
}

bool DropAsksFirst(int drop_action) {
  return drop_action < kDropRun || drop_action > kDropChangeOnce;
}

int DropActionAfterDialog(int drop_action, int dialog_id) {
  if (dialog_id == IDC_DROP_RUN) return kDropRunOnce;
  if (dialog_id == IDC_DROP_CHANGE) return kDropChangeOnce;
  return drop_action;
}

DropChoice TakeDropChoice(int& drop_action) {
  switch (drop_action) {
    case kDropRun:
      return DropChoice::kRunWithParameters;
    case kDropChange:
      return DropChoice::kChangeItem;
    case kDropRunOnce:
      drop_action = kDropAsk;
      return DropChoice::kRunWithParameters;
    case kDropChangeOnce:
      drop_action = kDropAsk;
      return DropChoice::kChangeItem;
    default:
      return DropChoice::kNothing;
  }
}

DropChoice DropOnButton(ButtonBar& bar, const ShellLayout& layout, LauncherItem* items,
                        int client_x, std::string_view drop_list, int& drop_action, bool locked,
                        Interpreter& interpreter, WindowRef window, ButtonBarHost& host) {
  if (locked) return DropChoice::kNothing;
  DropTarget target = ClassifyDrop(client_x, layout);
  if (target.kind != DropTarget::Kind::kButton) return DropChoice::kNothing;
  int position = target.button;
  int item = SlotItem(bar, layout, position);
  if (item < 0) return DropChoice::kNothing;

  if (DropAsksFirst(drop_action)) {
    drop_action = DropActionAfterDialog(drop_action, host.AskDropChoice());
  }
  DropChoice choice = TakeDropChoice(drop_action);
  if (choice == DropChoice::kRunWithParameters) {
    RunTopLevel(interpreter, window, DropRunLine(items[item].path.View(), drop_list),
                ButtonContext(position));
  } else if (choice == DropChoice::kChangeItem) {
    std::string_view name = LastDroppedName(drop_list);
    if (name.empty() || !host.ConfirmItemChange(ItemChangeQuestion(position, item, name))) {
      return DropChoice::kNothing;
    }
    ChangeItemTo(items[item], name);
    ButtonSlot& slot = bar.slots[position];
    if (slot.window != nullptr) {
      host.RegisterTip(slot.window, items[item].comment.View());
      host.RepaintButton(slot.window);
    }
  }
  return choice;
}

}  // namespace vsmr
