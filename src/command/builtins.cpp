// The built-in commands: one small function per number, dispatched from
// RunBuiltin. Platform effects go through BuiltinHost.
#include "command/builtins.h"

#include <string>
#include <utility>

#include "base/resource_ids.h"
#include "base/sjis.h"
#include "command/events.h"
#include "command/line_text.h"

namespace vsmr {
namespace {

constexpr int kMinLauncherLength = 30;
constexpr std::size_t kMailWordMin = 5;
constexpr int kListedItemsMax = 9;  // item numbers given one by one to 202 and 203
constexpr char kNoLeaveRoomPasswordText[] =
    "離席パスワードが設定されていないため、離席モードにできません。\n"
    "オプション設定の「一般設定」タブにある「離席パスワード」で設定してください。";

// What a run of a built-in sees.
struct Call {
  Interpreter& in;
  WindowRef window;
  std::string_view line;
  std::size_t name_length;
  const ArgumentVector& args;
  int context;

  std::string_view Arg(int k) const { return args.Get(k); }
  int Number(int k) const { return LeadingNumber(Arg(k)); }
  // Option letters count by the first character only.
  bool Option(int k, char letter) const { return !Arg(k).empty() && Arg(k)[0] == letter; }
  int Run(std::string_view text) const { return RunCommandLine(in, window, text, context); }
};

bool IsItemNumber(int n) { return n >= 1 && n <= kLauncherItemCount; }

// Stores `text` cut to the field without splitting a double-byte character.
template <std::size_t N>
void SetField(FixedText<N>& field, std::string_view text) {
  field.Set(text.substr(0, SjisCutLength(text, N - 1)));
}

// The item shown on the button whose position (from 1) argument k gives, or -1.
int ItemOnButtonArgument(const Call& c, const LauncherItem* items, int k) {
  int position = c.Number(k);
  return position >= 1 ? ItemOnButton(items, position - 1) : -1;
}

void SetShown(LauncherItem* items, int number, int shown) {
  if (IsItemNumber(number)) items[number - 1].shown = shown;
}

// Sets the show flag of the items an option of 202 or 203 names; a range
// is held to the table and taken in either order.
void MarkItems(const Call& c, LauncherItem* items, int shown, bool button_option) {
  if (c.Option(1, 'a')) {
    for (int i = 0; i < kLauncherItemCount; ++i) items[i].shown = shown;
  } else if (button_option && c.Option(1, 'b')) {
    int item = ItemOnButtonArgument(c, items, 2);
    if (item >= 0) items[item].shown = shown;
  } else if (c.Option(1, 'r')) {
    int from = c.Number(2);
    int to = c.Number(3);
    if (from > to) std::swap(from, to);
    for (int n = from < 1 ? 1 : from; n <= to && n <= kLauncherItemCount; ++n) {
      SetShown(items, n, shown);
    }
  } else if (c.Option(1, 'n')) {
    for (int i = 0; i < kLauncherItemCount; ++i) {
      if (items[i].comment.View() == c.Arg(2)) items[i].shown = shown;
    }
  } else {
    for (int k = 1; k <= kListedItemsMax && IsItemNumber(c.Number(k)); ++k) {
      SetShown(items, c.Number(k), shown);
    }
  }
}

int RunItem(const Call& c, const LauncherItem* items) {
  int item = c.Option(1, 'b')            ? ItemOnButtonArgument(c, items, 2)
             : IsItemNumber(c.Number(1)) ? c.Number(1) - 1
                                         : -1;
  if (item < 0) return 0;
  // A copy: the run may change the item.
  const std::string line(items[item].path.View());
  c.Run(line);
  return 1;
}

// True (after the error box) when the command list has no free slot.
bool RefuseFullList(const CommandList& list, BuiltinHost& host) {
  if (list.count < kMaxCommands) return false;
  host.ShowMessageBox("ERROR", "追加できません", kBoxOk | kBoxIconError);
  return true;
}

int AddCommand(const Call& c, BuiltinHost& host) {
  CommandList& list = c.in.commands;
  if (RefuseFullList(list, host)) return 0;
  CommandEntry record;
  if (c.Arg(1) != "-1") SetField(record.body, c.Arg(1));
  if (c.Arg(2) != "-1") SetField(record.name, c.Arg(2));
  host.EditCommand(record);
  host.Repaint();
  if (record.body.Empty()) return 0;
  // A timer line or the options dialog may have filled the list while the
  // editor was open.
  if (RefuseFullList(list, host)) return 0;
  list.entries[list.count++] = record;
  return 1;
}

void MoveWindow(const Call& c, BuiltinHost& host) {
  Point at = host.WindowPosition();
  if (c.Number(1) != -1) at.x = c.Number(1);
  if (c.Number(2) != -1) at.y = c.Number(2);
  host.MoveWindow(at.x, at.y);
}

void ToggleMailLauncher(const Call& c, SettingsState& settings, BuiltinHost& host) {
  if (settings.mail_launcher_or_not != 0) {
    host.ShowMessageBox("MailLauncher", "MailLauncherを無効にします", kBoxOk);
    settings.mail_launcher_or_not = 0;
    return;
  }
  if (c.Arg(1).size() >= kMailWordMin) SetField(settings.mail_launcher_command, c.Arg(1));
  std::string text = "MailLauncherをコマンド\"";
  text += settings.mail_launcher_command.View();
  text += " %s\"で有効にします。";
  host.ShowMessageBox("MailLauncher", text, kBoxOk);
  settings.mail_launcher_or_not = 1;
}

void ToggleDeleteMail(SettingsState& settings, BuiltinHost& host) {
  bool on = settings.delete_mail_permission == 0;
  settings.delete_mail_permission = on ? 1 : 0;
  host.ShowMessageBox("メール", on ? "メール削除有効化" : "メール削除無効化", kBoxOk);
}

void ChooseAndOpen(BuiltinHost& host) {
  static constexpr char kFilters[] =
      "アプリケーションプログラム(*.exe)\0*.exe\0All Files(*.*)\0*.*\0";
  std::string path = host.ChooseFile(std::string_view(kFilters, sizeof kFilters));
  if (!path.empty()) host.OpenFile(path);
}

int RunCondition(const Call& c) {
  int outcome = EvaluateCondition(c.Arg(1));
  if (outcome < 0) return 0;
  c.Run(c.Arg(outcome ? 2 : 3));
  return 1;
}

// 711 and 712: the else-line is left out when it reads -1.
void RunEitherLine(const Call& c, bool holds) {
  if (holds) {
    c.Run(c.Arg(3));
  } else if (c.Number(4) != -1) {
    c.Run(c.Arg(4));
  }
}

void ShowMenu(const Call& c, MenuSlots& slots, BuiltinHost& host, bool at_button) {
  CommandMenu menu;
  BuildCommandMenu(c.args, c.in.commands, slots, menu);
  Point at;
  if (!at_button) {
    at = host.PointerPosition();
  } else {
    at = host.WindowPosition();
    at.x += c.context >= 0 ? host.ButtonClientX(c.context) : host.LauncherBoxClientX();
  }
  host.ShowMenu(menu, at);
}

constexpr char kGoOnAfterFailedSaveText[] =
    "設定を保存できませんでした。\nこのままウィンドウズを終了しますか？";

// 0 when the save failed: the session then ends only if the user says so.
int SaveAndShutDown(const Call& c, bool& shutdown_active, BuiltinHost& host) {
  const int saved = host.SaveEverything() ? 1 : 0;
  if (!saved && host.ShowMessageBox("注意", kGoOnAfterFailedSaveText,
                                    kBoxYesNo | kBoxIconWarning) != kAnswerYes) {
    return 0;
  }
  if (c.Option(1, 'q')) {
    int kind = c.Number(2);
    host.EndSession(kind == 1 ? kEndReboot : kind == 2 ? kEndForce : kEndShutdown);
  }
  StartShutdownCountdown(shutdown_active, host);
  return saved;
}

// Only the password switches the lock off and an empty line is never taken,
// so without a password the lock is refused rather than held for good.
int EnterLeaveRoom(const Call& c, SettingsState& settings, BuiltinHost& host) {
  if (settings.leave_room_password.Empty()) {
    host.ShowMessageBox("注意", kNoLeaveRoomPasswordText, kBoxOk | kBoxIconWarning);
    return 0;
  }
  settings.leave_room_mode = 1;
  RunEvent(c.in, c.window, Event::kLeave);
  host.KillTimer(IDT_AUTO_MAIL);
  return 1;
}

}  // namespace

int ItemOnButton(const LauncherItem* items, int position) {
  if (position < 0) return -1;
  for (int i = 0; i < kLauncherItemCount; ++i) {
    if (items[i].shown != 0 && position-- == 0) return i;
  }
  return -1;
}

int ShownItemCount(const LauncherItem* items) {
  int shown = 0;
  for (int i = 0; i < kLauncherItemCount; ++i) shown += items[i].shown != 0 ? 1 : 0;
  return shown;
}

int EvaluateCondition(std::string_view condition) {
  static constexpr std::string_view kOperators[] = {"==", ">=", "<=", ">", "<", "!="};
  for (std::string_view op : kOperators) {
    if (condition.find(op) == std::string_view::npos) continue;
    // Cut at every character of the operator; runs count as one cut and a
    // missing operand reads 0.
    std::string_view pieces[2];
    int found = 0;
    std::size_t pos = condition.find_first_not_of(op);
    while (found < 2 && pos != std::string_view::npos) {
      std::size_t end = condition.find_first_of(op, pos);
      pieces[found++] = condition.substr(pos, end == std::string_view::npos ? end : end - pos);
      pos = end == std::string_view::npos ? end : condition.find_first_not_of(op, end);
    }
    const int left = LeadingNumber(pieces[0]);
    const int right = LeadingNumber(pieces[1]);
    if (op == "==") return left == right;
    if (op == ">=") return left >= right;
    if (op == "<=") return left <= right;
    if (op == ">") return left > right;
    if (op == "<") return left < right;
    return left != right;
  }
  return -1;
}

std::string SoundPath(std::string_view line, std::size_t name_length) {
  std::size_t from = name_length + 1;
  if (name_length >= line.size() && !line.empty() && line[0] == '#') {
    std::size_t space = line.find(' ');
    from = space == std::string_view::npos ? line.size() : space + 1;
  }
  std::string path;
  if (from < line.size()) {
    for (char ch : line.substr(from)) {
      if (ch != '"') path += ch;
    }
  }
  return path;
}

void StartShutdownCountdown(bool& shutdown_active, BuiltinHost& host) {
  host.SetTimer(IDT_SHUTDOWN, kShutdownDelayMs);
  shutdown_active = true;
  host.Repaint();
  int answer = host.ShowMessageBox("ウィンドウズ終了確認",
                               "まもなくウィンドウズが終了します。\n中止しますか？",
                               kBoxYesNo | kBoxIconQuestion);
  if (answer == kAnswerYes) {
    shutdown_active = false;
    host.KillTimer(IDT_SHUTDOWN);
    host.Repaint();
  }
}

void FinishShutdownCountdown(bool& shutdown_active, BuiltinHost& host) {
  host.KillTimer(IDT_SHUTDOWN);
  shutdown_active = false;
  host.EndSession(kEndShutdown);
}

int Builtins::RunBuiltin(Interpreter& in, WindowRef window, int number, std::string_view line,
                         std::size_t name_length, const ArgumentVector& arguments, int context) {
  const Call c{in, window, line, name_length, arguments, context};
  SettingsState& settings = state_.settings;
  LauncherItem* items = settings.launcher_items;
  switch (number) {
    case 101: host_.CloseMainWindow(); return 1;
    case 102: host_.SendWindowCommand(IDM_TRAY_TOGGLE, 0); return 1;
    case 103: host_.SendWindowCommand(IDM_OPTIONS, 0); return 1;
    case 104: return host_.SaveEverything() ? 1 : 0;
    case 105: host_.PlaySoundFile(SoundPath(line, name_length)); return 1;
    case 106: return EnterLeaveRoom(c, settings, host_);
    case 107: host_.ShowMessageBox(c.Arg(1), c.Arg(2), kBoxOk); return 1;
    case 108: host_.SendWindowCommand(IDM_VERSION, 0); return 1;
    case 109: in.status.Set(c.Arg(1)); return 1;
    case 201: return RunItem(c, items);
    case 202:
    case 203:
      MarkItems(c, items, number == 202 ? 1 : 0, number == 203);
      host_.RebuildButtonBar(ShownItemCount(items));
      return 1;
    case 301:
      if (c.Number(1) < kMinLauncherLength) return 0;
      settings.command_line_launcher_length = ClampLauncherLength(c.Number(1));
      return 1;
    case 302: state_.keep_launcher_open = !state_.keep_launcher_open; return 1;
    case 303: return AddCommand(c, host_);
    case 401: MoveWindow(c, host_); return 1;
    case 501: host_.StartMailCheck(); return 1;
    case 502: ToggleMailLauncher(c, settings, host_); return 1;
    case 503: ToggleDeleteMail(settings, host_); return 1;
    case 504: return 1;
    case 601: ChooseAndOpen(host_); return 1;
    case 701: return RunCondition(c);
    case 711: RunEitherLine(c, c.Arg(1) == c.Arg(2)); return 1;
    case 712: RunEitherLine(c, c.Arg(1).find(c.Arg(2)) != std::string_view::npos); return 1;
    case 801: ShowMenu(c, state_.menu_slots, host_, false); return 1;
    case 802: ShowMenu(c, state_.menu_slots, host_, true); return 1;
    case 2001: return SaveAndShutDown(c, state_.shutdown_active, host_);
    case 2002: host_.Suspend(); return 1;
    default: return 0;
  }
}

}  // namespace vsmr
