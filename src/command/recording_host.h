// A BuiltinHost that carries nothing out: it records every call as a line of
// fields ("ui", what, values...) and answers boxes and dialogs from a list.
// `vsmr trace` prints its lines; the unit tests read them.
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "command/builtin_host.h"

namespace vsmr {

class RecordingHost : public BuiltinHost {
 public:
  using Record = std::vector<std::string>;

  void CloseMainWindow() override;
  void SendWindowCommand(int id, int parameter) override;
  void RebuildButtonBar(int shown) override;
  // Records the save; false (a failed save) while `save_fails` is set.
  bool SaveEverything() override;
  void PlaySoundFile(std::string_view path) override;
  // Takes the next answer ("ok", "cancel", "yes", "no"); with none left, or
  // one that is none of these, the first button.
  int ShowMessageBox(std::string_view caption, std::string_view text, unsigned style) override;
  void SetTimer(int id, int milliseconds) override;
  void KillTimer(int id) override;
  Point WindowPosition() override { return window; }
  void MoveWindow(int x, int y) override;
  Point PointerPosition() override { return pointer; }
  int ButtonClientX(int position) override { return button_client_x ? button_client_x(position) : 0; }
  int LauncherBoxClientX() override { return launcher_box_x; }
  void ShowMenu(const CommandMenu& menu, Point at) override;
  // The next answer is the chosen path; "cancel" or none left chooses nothing.
  std::string ChooseFile(std::string_view filters) override;
  // Recorded as the shell's open of `path` with no parameters or folder.
  void OpenFile(const std::string& path) override;
  // Records the dialog as opened on `record` and runs `while_editing` (what
  // happens elsewhere while it is open); the answer "cancel" empties its
  // body, anything else confirms it unchanged.
  void EditCommand(CommandEntry& record) override;
  void StartMailCheck() override;
  void EndSession(unsigned flags) override;
  void Suspend() override;
  void Repaint() override {}
  // A line of its own among the records (the shell's, in `vsmr trace`).
  void Add(Record record) { records.push_back(std::move(record)); }

  std::vector<Record> records;
  std::deque<std::string> answers;
  Point window;
  Point pointer;
  std::function<int(int)> button_client_x;
  std::function<void()> while_editing;
  int launcher_box_x = 0;
  bool save_fails = false;
  std::vector<int> menu_ids;  // the window commands of the entries the last menu offered

 private:
  std::string NextAnswer();
};

}  // namespace vsmr
