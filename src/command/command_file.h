// The bytes of vsmrcmd.dat: parsing them into a command list (with an optional
// per-line account of what loading did, and what a save must keep) and forming
// them from one.
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

// What a save must write back that the table does not hold: the lines the
// program's own form would not give back byte for byte (fields cut to their
// widths, a missing second TAB, LF alone, a line read in pieces, ...) with
// the entries they gave, and every byte from where reading stopped. Written
// back unchanged, an untouched file saves byte for byte and the next start
// reads exactly what this one read.
struct CommandFileKeep {
  struct Line {
    std::vector<CommandEntry> entries;  // what loading made of it, in order
    std::string bytes;                  // the line as it is in the file
    int first_entry = 0;                // the slot of its first entry at load
  };
  std::vector<Line> lines;
  // The bytes loading did not read: from the piece where it stopped (an empty
  // or malformed line, the 257th entry) or from an end-of-file mark (Ctrl+Z).
  std::string rest;

  enum class Stop {
    kNone,       // everything was read
    kEmptyLine,  // a line of blanks only
    kMalformed,  // a line without a name and a body separated by a TAB
    kCapacity,   // 256 entries were read
    kEndMark,    // an end-of-file mark (Ctrl+Z)
  };
  Stop stop = Stop::kNone;
  int stop_line = 0;  // the line where the rest begins (from 1)
  int first_cut_line = 0;  // the first line with a field longer than its width, 0 if none

  // True when the rest holds more than blanks, line ends and end marks: lines
  // of the user's that the program does not use.
  bool RestHoldsLines() const;
};

// Parses the file's bytes into `list` (which is cleared first). CR LF is taken
// as LF and Ctrl+Z as the end of the file, as a text-mode read on Windows
// does, so host and Windows agree.
// When `report` is given, it receives one record per piece of the file; when
// `keep` is given, it receives what a save must write back.
void ParseCommandFile(std::string_view bytes, CommandList& list,
                      std::vector<CommandFileLine>* report = nullptr,
                      CommandFileKeep* keep = nullptr);

// The file's bytes for `list`: "name<TAB>body<TAB>comment" and CR LF per entry.
// Line ends and (outside the comment) TABs inside fields are not written as
// such, so that every entry stays one line: see the definition.
// With `keep`, an entry (or run of entries) still as it was loaded from a kept
// line is written as that line, and the bytes loading did not read follow the
// table.
std::string FormatCommandFile(const CommandList& list, const CommandFileKeep* keep = nullptr);

}  // namespace vsmr
