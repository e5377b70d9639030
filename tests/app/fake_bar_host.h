// A recording main window for the button bar and the leave-room lock: every
// call kept in order as one line of text, answers chosen by the test.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/button_bar.h"
#include "app/leave_room.h"

namespace vsmr::test {

class FakeBarHost : public ButtonBarHost, public LeaveRoomHost {
 public:
  void ApplyWidth(int width) override { Log("width " + std::to_string(width)); }
  WindowRef CreateButton(int position, int x) override {
    Log("create " + std::to_string(position) + " at " + std::to_string(x));
    if (fail_creation) return nullptr;
    return reinterpret_cast<WindowRef>(static_cast<std::uintptr_t>(1000 + position));
  }
  void DestroyButton(WindowRef button) override { Log("destroy " + Name(button)); }
  void RegisterTip(WindowRef button, std::string_view text) override {
    Log("tip " + Name(button) + " " + std::string(text));
  }
  void RepaintButton(WindowRef button) override { Log("repaint " + Name(button)); }
  int AskDropChoice() override {
    Log("ask");
    return dialog_answer;
  }
  bool ConfirmItemChange(std::string_view question) override {
    Log("confirm " + std::string(question));
    return confirm_answer;
  }
  void ArmMailTimer(int delay_ms) override { Log("arm " + std::to_string(delay_ms)); }

  static std::string Name(WindowRef button) {
    return "b" + std::to_string(reinterpret_cast<std::uintptr_t>(button) - 1000);
  }
  void Log(std::string line) { calls.push_back(std::move(line)); }

  std::vector<std::string> calls;
  bool fail_creation = false;
  int dialog_answer = 2;  // the cancel id
  bool confirm_answer = true;
};

}  // namespace vsmr::test
