// The built-in commands ("#" and a number): their arguments, results and
// effects on the program's state. Everything outside that state goes through
// BuiltinHost.
#pragma once
#include "command/builtin_host.h"
#include "command/command_menu.h"
#include "command/interpreter.h"
#include "settings/settings_records.h"

namespace vsmr {

inline constexpr int kShutdownDelayMs = 30000;

// The program state the built-ins change; all of it is owned elsewhere.
struct BuiltinState {
  SettingsState& settings;   // launcher items, launcher length, lock, mail switches
  bool& keep_launcher_open;
  bool& shutdown_active;     // the clock face reads "Shutdown"
  MenuSlots& menu_slots;
};

class Builtins : public BuiltinRunner {
 public:
  Builtins(BuiltinState state, BuiltinHost& host) : state_(state), host_(host) {}
  int RunBuiltin(Interpreter& interpreter, WindowRef window, int number, std::string_view line,
                 std::size_t name_length, const ArgumentVector& arguments, int context) override;

 private:
  BuiltinState state_;
  BuiltinHost& host_;
};

// Arms the shutdown countdown and asks whether to stop it; Yes stops it. The
// question does not hold the countdown back.
void StartShutdownCountdown(bool& shutdown_active, BuiltinHost& host);
// The countdown's end: the session ends.
void FinishShutdownCountdown(bool& shutdown_active, BuiltinHost& host);

// The item index (from 0) shown on button `position` (from 0): the
// position-th item with its show flag set, or -1.
int ItemOnButton(const LauncherItem* items, int position);
// How many items have their show flag set.
int ShownItemCount(const LauncherItem* items);

// The numeric condition of built-in 701: 1 true, 0 false, -1 when it holds
// no operator.
int EvaluateCondition(std::string_view condition);

// The text the sound built-in plays: the rest of `line` one character after
// `name_length`, without double quotes. Written directly ("#105 path"), the
// rest begins after the number and one character.
std::string SoundPath(std::string_view line, std::size_t name_length);

}  // namespace vsmr
