// The command list: the user's named commands in file order, the file
// vsmrcmd.dat that keeps them, and the hot key value saved together with them.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "base/fixed_text.h"

namespace vsmr {

class ProfileDocument;

// One command. Names compare byte-wise: case-sensitively for lookups, without
// regard to case for command menus and #name argument references.
struct CommandEntry {
  FixedText<128> name;     // the word the user types (at most 127 bytes)
  FixedText<260> body;     // what it does (at most 259 bytes)
  FixedText<256> comment;  // free text, the command-menu label (at most 255 bytes)
};

inline constexpr int kMaxCommands = 256;

// Slots 0 to count-1 are in use, without gaps, in file order; every lookup
// takes the first matching entry, so a later duplicate name is never reached.
struct CommandList {
  int count = 0;
  CommandEntry entries[kMaxCommands];
};

// Settings file section and key of the hot key value.
inline constexpr std::string_view kHotKeySection = "CommandLineLauncher";
inline constexpr std::string_view kHotKeyKey = "HotKey";

// The executable's folder (cut at its last backslash; a Shift-JIS trail byte
// 0x5C is not one) followed by "\vsmrcmd.dat". Without any backslash the file
// name alone is returned.
std::string CommandFilePath(std::string_view executable_path);

// Reads the hot key value (default 0) from the settings file and the command
// list from its file. A missing or unreadable file gives an empty list; bad
// lines are not reported (reading stops at the first line lacking a body).
void LoadCommandList(CommandList& list, std::uint16_t& hot_key, const std::string& settings_path,
                     const std::string& command_file_path);

// Writes the hot key value to the settings file, then the whole list to its
// file, replacing the file atomically. Returns false when the command file
// could not be written (the old file then stays as it was).
bool SaveCommandList(const CommandList& list, std::uint16_t hot_key,
                     const std::string& settings_path, const std::string& command_file_path);

// The same, with the hot key value written into a settings document that the
// caller saves together with its other settings.
bool SaveCommandList(const CommandList& list, std::uint16_t hot_key, ProfileDocument& settings,
                     const std::string& command_file_path);

}  // namespace vsmr
