// The command list: the user's named commands in file order, and the file
// vsmrcmd.dat that keeps them.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "base/file_io.h"
#include "base/fixed_text.h"

namespace vsmr {

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

// The executable's folder (cut at its last backslash; a Shift-JIS trail byte
// 0x5C is not one) followed by "\vsmrcmd.dat". Without any backslash the file
// name alone is returned.
std::string CommandFilePath(std::string_view executable_path);

struct CommandFileKeep;

// Reads the command list from its file. A missing or unreadable file gives an
// empty list (the result says which); bad lines are not reported here
// (reading stops at the first line lacking a body). `keep`, when given,
// receives what a save must write back beside the table.
FileRead LoadCommandList(CommandList& list, const std::string& command_file_path,
                         CommandFileKeep* keep = nullptr);

// Writes the whole list to its file (with what `keep` holds of the file as it
// was loaded), replacing the file atomically. Returns false when the file
// could not be written (the old file then stays as it was), with the system's
// reason in `reason` when given.
bool SaveCommandList(const CommandList& list, const std::string& command_file_path,
                     const CommandFileKeep* keep = nullptr, std::string* reason = nullptr);

}  // namespace vsmr
