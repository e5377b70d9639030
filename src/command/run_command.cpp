// Running a line: segments joined by " & ", each a built-in, a command of the
// list (its body run as a line in turn), a folder alias, or a shell "open".
#include <cstring>
#include <string>

#include "base/sjis.h"
#include "command/interpreter.h"
#include "command/line_text.h"

namespace vsmr {
namespace {

constexpr std::string_view kSeparator = " & ";

// A zeroed working buffer of the interpreter's line size. Kept on the heap:
// runs nest eight deep with several buffers each.
std::string LineBuffer() { return std::string(kLineBuffer, '\0'); }

enum class Match { kNone, kCommand, kFolderAlias };

Match MatchEntry(std::string_view segment, std::string_view name) {
  // An unnamed entry would take every line that begins with a space or a
  // backslash; it names nothing.
  if (name.empty() || segment.substr(0, name.size()) != name) return Match::kNone;
  if (segment.size() == name.size()) return Match::kCommand;
  if (segment[name.size()] == ' ') return Match::kCommand;
  // The backslash must be a character of its own, not the trail byte of a
  // double-byte character that the name's last byte begins.
  if (FindSjisChar(segment, '\\', name.size()) == name.size()) return Match::kFolderAlias;
  return Match::kNone;
}

int OpenFolderAlias(Interpreter& in, const CommandEntry& entry, std::string_view segment) {
  char path[kPathBuffer];
  CopyLine(path, sizeof path, entry.body.View());
  AppendLine(path, sizeof path, "\\");
  AppendLine(path, sizeof path, segment.substr(entry.name.View().size() + 1));
  return ShellSucceeded(in.shell.Open(path, nullptr, nullptr)) ? 1 : 0;
}

int RunFound(Interpreter& in, WindowRef window, const CommandEntry& entry,
             std::string_view segment, int context) {
  const std::size_t name_length = entry.name.View().size();
  ArgumentVector arguments;
  std::string copy = LineBuffer();
  CopyLine(copy.data(), kLineBuffer, segment);
  int count = SplitArguments(in.commands, copy.data(), arguments, name_length);

  if (entry.body.data[0] == '#') {
    int number = LeadingNumber(entry.body.View().substr(1));
    return in.builtins.RunBuiltin(in, window, number, segment, name_length, arguments, context);
  }

  std::string expanded = LineBuffer();
  CopyLine(expanded.data(), kLineBuffer, entry.body.View());
  if (ExpandParameters(segment, expanded.data(), kLineBuffer, arguments, count, name_length) == 0) {
    for (int k = 1; k <= count; ++k) {
      AppendLine(expanded.data(), kLineBuffer, " \"");
      AppendLine(expanded.data(), kLineBuffer, arguments.Get(k));
      AppendLine(expanded.data(), kLineBuffer, "\"");
    }
  }
  if (RunCommandLine(in, window, expanded.c_str(), context) != 0) return 1;

  // The body is copied again: a built-in run above may have changed the list.
  std::string body = LineBuffer();
  CopyLine(body.data(), kLineBuffer, entry.body.View());
  return OpenWithParameters(in.shell, segment, body.data(), kLineBuffer, name_length, arguments,
                            count);
}

int OpenUnknown(Interpreter& in, std::string_view segment) {
  char directory[kPathBuffer] = {};
  std::size_t quote = segment.find(" \"");
  if (quote != std::string_view::npos) {
    std::string file(segment.substr(0, quote));
    std::string parameters(segment.substr(quote + 1));
    CopyLine(directory, sizeof directory, WorkingDirectoryOf(file));
    int result = in.shell.Open(file.c_str(), parameters.c_str(), directory);
    if (result == kShellAccessDenied) in.status.Set("CmdErrAD");
    if (result == kShellOutOfResources) in.status.Set("CmdErrMR");
    return ShellSucceeded(result) ? 1 : 0;
  }
  std::string file(segment);
  CopyLine(directory, sizeof directory, WorkingDirectoryOf(file));
  return ShellSucceeded(in.shell.Open(file.c_str(), nullptr, directory)) ? 1 : 0;
}

}  // namespace

std::string_view WorkingDirectoryOf(std::string_view file) {
  std::size_t last = FindLastSjisChar(file, '\\');
  if (last == std::string_view::npos) return {};
  return file.substr(0, SjisCutLength(file.substr(0, last), kPathBuffer - 1));
}

int RunCommand(Interpreter& in, WindowRef window, std::string_view text, int context) {
  text = UpToNul(text);
  // An owned copy: the segment handed on is a C string of exactly its length.
  const std::string owned(text.substr(0, SjisCutLength(text, kLineMax)));
  const std::string_view segment = owned;
  if (segment.empty()) return 0;

  if (segment[0] == '#') {
    ArgumentVector arguments;
    std::string copy = LineBuffer();
    CopyLine(copy.data(), kLineBuffer, segment);
    SplitArguments(in.commands, copy.data(), arguments, 2);
    return in.builtins.RunBuiltin(in, window, LeadingNumber(segment.substr(1)), segment,
                                  segment.size(), arguments, context);
  }

  for (int i = 0; i < in.commands.count; ++i) {
    const CommandEntry& entry = in.commands.entries[i];
    switch (MatchEntry(segment, entry.name.View())) {
      case Match::kCommand:
        return RunFound(in, window, entry, segment, context);
      case Match::kFolderAlias:
        return OpenFolderAlias(in, entry, segment);
      case Match::kNone:
        break;
    }
  }
  return OpenUnknown(in, segment);
}

int RunCommandLine(Interpreter& in, WindowRef window, std::string_view text, int context) {
  const int taken = in.nesting_depth++;
  if (taken >= kMaxNesting) {
    in.status.Set("CmndErrN");
    in.nesting_depth = taken;
    return 0;
  }
  std::string buffer = LineBuffer();
  std::size_t length = CopyLine(buffer.data(), kLineBuffer, UpToNul(text));
  std::string_view line(buffer.data(), length);

  int result = 0;
  std::size_t pos = 0;
  while (pos <= line.size()) {
    std::size_t cut = line.find(kSeparator, pos);
    std::size_t end = cut == std::string_view::npos ? line.size() : cut;
    std::string_view segment = RestAfter(line.substr(0, end), pos);
    if (!segment.empty() && segment.substr(0, 2) != "//") {
      result = RunCommand(in, window, segment, context);
    }
    if (cut == std::string_view::npos) break;
    pos = cut + kSeparator.size();
  }
  in.nesting_depth = taken;
  return result;
}

}  // namespace vsmr
