// The bytes of vsmrcmd.dat: parsing them into a command list (with an optional
// per-line account of what loading did) and forming them from one.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "command/command_list.h"

namespace vsmr {

// Lines are read as the C library's fgets does into a 772-byte buffer: a line
// longer than 771 bytes (line end included) comes in pieces, each taken as a
// line of its own.
inline constexpr std::size_t kCommandLinePiece = 771;

// What loading did with one piece of the file.
struct CommandFileLine {
  enum class Outcome {
    kLoaded,         // became entry `entry`
    kStop,           // no name or no body: reading stops here
    kAfterStop,      // ignored: comes after the stop
    kPastCapacity,   // ignored: 256 entries were already read
  };
  int line = 0;           // line number in the file, from 1
  int piece = 1;          // piece of that line, from 1 (more than 1 only for long lines)
  Outcome outcome = Outcome::kLoaded;
  int entry = -1;         // slot index for kLoaded
  bool body_keeps_line_end = false;  // no TAB after the body: it ends with the line end
  bool name_cut = false;     // longer than 127 bytes
  bool body_cut = false;     // longer than 259 bytes
  bool comment_cut = false;  // longer than 255 bytes
  bool blank = false;        // holds nothing but spaces, TABs, CR and LF
};

// Parses the file's bytes into `list` (which is cleared first). CR LF is taken
// as LF and Ctrl+Z as the end of the file, as a text-mode read on Windows
// does, so host and Windows agree.
// When `report` is given, it receives one record per piece of the file.
void ParseCommandFile(std::string_view bytes, CommandList& list,
                      std::vector<CommandFileLine>* report = nullptr);

// The file's bytes for `list`: "name<TAB>body<TAB>comment" and CR LF per entry.
// Line ends and (outside the comment) TABs inside fields are not written as
// such, so that every entry stays one line: see the definition.
std::string FormatCommandFile(const CommandList& list);

}  // namespace vsmr
