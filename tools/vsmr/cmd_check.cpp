// vsmr check: says, line by line, what loading vsmrcmd.dat does with the
// file: which entry each line becomes, what is cut, shadowed or ignored.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "command/command_file.h"
#include "console_text.h"
#include "folder_files.h"
#include "subcommand.h"

namespace vsmr::tool {
namespace {

constexpr char kUsage[] = "check [--dir DIR]";

using Outcome = CommandFileLine::Outcome;

std::string Quoted(std::string_view name) { return "\"" + EscapeField(name) + "\""; }

std::string Where(const CommandFileLine& r) {
  std::string where = "line " + std::to_string(r.line);
  if (r.piece > 1) where += " (part " + std::to_string(r.piece) + ")";
  return where;
}

// The earlier entry that takes every line meant for entry `j`: the same name,
// or a name followed by a space or backslash that begins it (the lookup tries
// entries in order and the first match wins). -1 when there is none.
int ShadowOf(const CommandList& list, int j) {
  std::string_view name = list.entries[j].name.View();
  for (int i = 0; i < j; ++i) {
    std::string_view earlier = list.entries[i].name.View();
    if (earlier.empty() || name.substr(0, earlier.size()) != earlier) continue;
    if (name.size() == earlier.size() || name[earlier.size()] == ' ' ||
        name[earlier.size()] == '\\') {
      return i;
    }
  }
  return -1;
}

int RunCheck(const std::vector<std::string>& args) {
  std::string dir = ".";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--dir" && i + 1 < args.size()) {
      dir = args[++i];
    } else {
      std::fprintf(stderr, "vsmr check: unexpected argument %s\nusage: vsmr %s\n",
                   args[i].c_str(), kUsage);
      return 2;
    }
  }
  const std::string path = FolderFiles(dir).command_file_path;
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    std::printf("%s: cannot be read; the program starts with an empty command list\n",
                path.c_str());
    return 1;
  }

  auto list = std::make_unique<CommandList>();
  std::vector<CommandFileLine> report;
  ParseCommandFile(bytes, *list, &report);

  int surprises = 0;
  int stop_line = 0;
  for (std::size_t p = 0; p < report.size(); ++p) {
    const CommandFileLine& r = report[p];
    std::vector<std::string> notes;
    std::string head;
    switch (r.outcome) {
      case Outcome::kLoaded: {
        const CommandEntry& e = list->entries[r.entry];
        head = "entry " + std::to_string(r.entry + 1) + " " + Quoted(e.name.View());
        if (r.piece > 1) notes.push_back("the rest of a line longer than 771 bytes, read as a line of its own");
        if (r.body_keeps_line_end) notes.push_back("no TAB after the body: the body ends with the line end (a save keeps the line as written while the entry is unchanged)");
        if (r.name_cut) notes.push_back("name cut to 127 bytes");
        if (r.body_cut) notes.push_back("body cut to 259 bytes");
        if (r.comment_cut) notes.push_back("comment cut to 255 bytes");
        int shadow = ShadowOf(*list, r.entry);
        if (shadow >= 0) {
          notes.push_back("never reached by name: entry " + std::to_string(shadow + 1) + " " +
                          Quoted(list->entries[shadow].name.View()) + " matches first");
        }
        break;
      }
      case Outcome::kStop:
        stop_line = r.line;
        head = r.blank ? "blank line: reading stops here"
                                  : "no name and body separated by a TAB: reading stops here";
        // A blank last line ends the file as intended; anything else loses lines.
        if (!r.blank || p + 1 < report.size()) {
          notes.push_back("this and every later line are ignored (a save keeps them as they are)");
        }
        break;
      case Outcome::kAfterStop:
        head = "ignored: after the stop at line " + std::to_string(stop_line);
        break;
      case Outcome::kPastCapacity:
        head = "ignored: the list already holds 256 entries";
        break;
    }
    bool surprising = !notes.empty() || r.outcome == Outcome::kAfterStop ||
                      r.outcome == Outcome::kPastCapacity;
    if (surprising) ++surprises;
    std::printf("%s: %s\n", Where(r).c_str(), head.c_str());
    for (const std::string& note : notes) std::printf("  %s\n", note.c_str());
  }
  std::printf("%d entries loaded, %d lines with surprises\n", list->count, surprises);
  return surprises == 0 ? 0 : 1;
}

const Subcommand kCheck("check", kUsage, RunCheck);

}  // namespace
}  // namespace vsmr::tool
