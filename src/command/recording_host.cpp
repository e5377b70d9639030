// RecordingHost: every call becomes one record.
#include "command/recording_host.h"

#include "base/resource_ids.h"
#include "command/command_menu.h"

namespace vsmr {

namespace {
std::string Num(long long value) { return std::to_string(value); }
}  // namespace

std::string RecordingHost::NextAnswer() {
  if (answers.empty()) return {};
  std::string answer = answers.front();
  answers.pop_front();
  return answer;
}

void RecordingHost::CloseMainWindow() { Add({"ui", "close"}); }

void RecordingHost::SendWindowCommand(int id, int parameter) {
  Add({"ui", "command", Num(id), Num(parameter)});
}

void RecordingHost::RebuildButtonBar(int shown) { SendWindowCommand(IDM_SET_BUTTON_COUNT, shown); }

bool RecordingHost::SaveEverything() {
  Add({"ui", "save"});
  return !save_fails;
}

void RecordingHost::PlaySoundFile(std::string_view path) { Add({"ui", "sound", std::string(path)}); }

int RecordingHost::ShowMessageBox(std::string_view caption, std::string_view text, unsigned style) {
  Add({"ui", "messagebox", std::string(caption), std::string(text), Num(style)});
  const std::string answer = NextAnswer();
  const bool yes_no = (style & kBoxYesNo) == kBoxYesNo;
  if (answer == "cancel") return kAnswerCancel;
  if (answer == "no" && yes_no) return kAnswerNo;
  if (answer == "ok" && !yes_no) return kAnswerOk;
  return yes_no ? kAnswerYes : kAnswerOk;
}

void RecordingHost::SetTimer(int id, int milliseconds) {
  Add({"ui", "timer", Num(id), Num(milliseconds)});
}

void RecordingHost::KillTimer(int id) { Add({"ui", "killtimer", Num(id)}); }

void RecordingHost::MoveWindow(int x, int y) {
  window = {x, y};
  Add({"ui", "move", Num(x), Num(y)});
}

void RecordingHost::ShowMenu(const CommandMenu& menu, Point at) {
  Add({"ui", "menu", Num(at.x), Num(at.y)});
  menu_ids.clear();
  for (int i = 0; i < menu.count; ++i) {
    const MenuEntry& e = menu.entries[i];
    switch (e.kind) {
      case MenuEntry::Kind::kSeparator:
        Add({"ui", "separator", Num(e.position)});
        break;
      case MenuEntry::Kind::kSubmenu:
        Add({"ui", "submenu", Num(e.position), e.label});
        Add({"ui", "menuitem", "0", Num(e.inner_id), e.label});
        menu_ids.push_back(e.inner_id);
        break;
      case MenuEntry::Kind::kItem:
        Add({"ui", "menuitem", Num(e.position), Num(e.id), e.label});
        menu_ids.push_back(e.id);
        break;
    }
  }
}

std::string RecordingHost::ChooseFile(std::string_view) {
  Add({"ui", "choosefile"});
  std::string answer = NextAnswer();
  return answer == "cancel" ? std::string() : answer;
}

void RecordingHost::OpenFile(const std::string& path) { Add({"open", path, "", ""}); }

void RecordingHost::EditCommand(CommandEntry& record) {
  Add({"ui", "editcommand", std::string(record.name.View()), std::string(record.body.View()),
       std::string(record.comment.View())});
  if (while_editing) while_editing();
  if (NextAnswer() == "cancel") record.body.Clear();
}

void RecordingHost::StartMailCheck() { Add({"ui", "mailcheck"}); }

void RecordingHost::EndSession(unsigned flags) { Add({"ui", "exitwindows", Num(flags)}); }

void RecordingHost::Suspend() { Add({"ui", "suspend"}); }

}  // namespace vsmr
