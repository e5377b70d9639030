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

Match MatchEntry(MarkedView segment, std::string_view name) {
  // An unnamed entry would take every line that begins with a space or a
  // backslash; it names nothing.
  const std::string_view text = segment.text;
  if (name.empty() || text.substr(0, name.size()) != name) return Match::kNone;
  if (text.size() == name.size()) return Match::kCommand;
  // Inserted text never ends a name.
  if (segment.Inserted(name.size())) return Match::kNone;
  if (text[name.size()] == ' ') return Match::kCommand;
  // The backslash must be a character of its own, not the trail byte of a
  // double-byte character that the name's last byte begins.
  if (FindSjisChar(text, '\\', name.size()) == name.size()) return Match::kFolderAlias;
  return Match::kNone;
}

// A working copy of a segment's marks the size of the line buffer, or an empty
// string when the user wrote all of it.
std::string MarksBuffer(MarkedView segment) {
  if (segment.marks.empty()) return {};
  std::string marks(kLineBuffer, '\0');
  segment.marks.copy(marks.data(), segment.marks.size());
  return marks;
}

int OpenFolderAlias(Interpreter& in, const CommandEntry& entry, std::string_view segment) {
  char path[kPathBuffer];
  CopyLine(path, sizeof path, entry.body.View());
  AppendLine(path, sizeof path, "\\");
  AppendLine(path, sizeof path, segment.substr(entry.name.View().size() + 1));
  return ShellSucceeded(in.shell.Open(path, nullptr, nullptr)) ? 1 : 0;
}

int RunLine(Interpreter& in, WindowRef window, MarkedView text, int context);

int RunFound(Interpreter& in, WindowRef window, const CommandEntry& entry, MarkedView segment,
             int context) {
  const std::size_t name_length = entry.name.View().size();
  ArgumentVector arguments;
  std::string copy = LineBuffer();
  CopyLine(copy.data(), kLineBuffer, segment.text);
  std::string marks = MarksBuffer(segment);
  int count = SplitArguments(in.commands, copy.data(), marks.empty() ? nullptr : marks.data(),
                             arguments, name_length);

  if (entry.body.data[0] == '#') {
    int number = LeadingNumber(entry.body.View().substr(1));
    return in.builtins.RunBuiltin(in, window, number, segment.text, name_length, arguments,
                                  context);
  }

  MarkedLine expanded = MarkedLine::Written(entry.body.View());
  if (ExpandParameters(segment, expanded, kLineBuffer, arguments, count, name_length) == 0) {
    for (int k = 1; k <= count; ++k) {
      expanded.AddWritten(" \"");
      expanded.Add(arguments.GetMarked(k));
      expanded.AddWritten("\"");
    }
    expanded.Cut(SjisCutLength(expanded.text, kLineMax));
  }
  if (RunLine(in, window, expanded.View(), context) != 0) return 1;

  // The body is copied again: a built-in run above may have changed the list.
  std::string body = LineBuffer();
  CopyLine(body.data(), kLineBuffer, entry.body.View());
  return OpenWithParameters(in.shell, segment.text, body.data(), kLineBuffer, name_length,
                            arguments, count);
}

// The parameters text for the shell. Inserted text sits inside the quotes the
// line gave it; a program splits its command line by the C runtime's rules, so
// an inserted quote gets a backslash and backslashes that would come before a
// quote are doubled: the program then receives the inserted text unchanged.
std::string ShellParameters(MarkedView parameters) {
  std::string out;
  std::size_t backslashes = 0;  // inserted backslashes just copied
  for (std::size_t i = 0; i < parameters.text.size(); ++i) {
    const char c = parameters.text[i];
    const bool inserted = parameters.Inserted(i);
    if (c == '"' && (inserted || backslashes > 0)) out.append(backslashes, '\\');
    if (c == '"' && inserted) out += '\\';
    out += c;
    backslashes = inserted && c == '\\' ? backslashes + 1 : 0;
    const bool pair = IsSjisLeadByte(static_cast<unsigned char>(c)) &&
                      i + 1 < parameters.text.size() && parameters.Inserted(i + 1);
    if (inserted && pair) out += parameters.text[++i];  // a trail byte 0x5C is no backslash
  }
  out.resize(SjisCutLength(out, kLineMax));
  return out;
}

int OpenUnknown(Interpreter& in, MarkedView segment) {
  char directory[kPathBuffer] = {};
  const std::size_t quote = segment.FindWritten(" \"");
  if (quote != std::string_view::npos) {
    std::string file(segment.text.substr(0, quote));
    std::string parameters = ShellParameters(segment.From(quote + 1));
    CopyLine(directory, sizeof directory, WorkingDirectoryOf(file));
    int result = in.shell.Open(file.c_str(), parameters.c_str(), directory);
    if (result == kShellAccessDenied) in.status.Set("CmdErrAD");
    if (result == kShellOutOfResources) in.status.Set("CmdErrMR");
    return ShellSucceeded(result) ? 1 : 0;
  }
  std::string file(segment.text);
  CopyLine(directory, sizeof directory, WorkingDirectoryOf(file));
  return ShellSucceeded(in.shell.Open(file.c_str(), nullptr, directory)) ? 1 : 0;
}

int RunSegment(Interpreter& in, WindowRef window, MarkedView text, int context) {
  text = text.Prefix(UpToNul(text.text).size());
  // An owned copy: the segment handed on is a C string of exactly its length.
  const std::size_t length = SjisCutLength(text.text, kLineMax);
  const std::string owned(text.text.substr(0, length));
  const std::string owned_marks(text.marks.substr(0, text.marks.empty() ? 0 : length));
  const MarkedView segment{owned, owned_marks};
  // A segment is named by what the user wrote: inserted text is never a command.
  if (segment.text.empty() || segment.Inserted(0)) return 0;

  if (segment.text[0] == '#') {
    ArgumentVector arguments;
    std::string copy = LineBuffer();
    CopyLine(copy.data(), kLineBuffer, segment.text);
    std::string marks = MarksBuffer(segment);
    SplitArguments(in.commands, copy.data(), marks.empty() ? nullptr : marks.data(), arguments, 2);
    return in.builtins.RunBuiltin(in, window, LeadingNumber(segment.text.substr(1)), segment.text,
                                  segment.text.size(), arguments, context);
  }

  for (int i = 0; i < in.commands.count; ++i) {
    const CommandEntry& entry = in.commands.entries[i];
    switch (MatchEntry(segment, entry.name.View())) {
      case Match::kCommand:
        return RunFound(in, window, entry, segment, context);
      case Match::kFolderAlias:
        return OpenFolderAlias(in, entry, segment.text);
      case Match::kNone:
        break;
    }
  }
  return OpenUnknown(in, segment);
}

int RunLine(Interpreter& in, WindowRef window, MarkedView text, int context) {
  const int taken = in.nesting_depth++;
  if (taken >= kMaxNesting || in.runs_in_progress >= kMaxRunsInProgress) {
    in.status.Set("CmndErrN");
    in.nesting_depth = taken;
    return 0;
  }
  if (in.runs_in_progress++ == 0) in.segments_started = 0;
  text = text.Prefix(UpToNul(text.text).size());
  const MarkedLine owned = [&] {
    MarkedLine copy;
    copy.Add(text.Prefix(SjisCutLength(text.text, kLineMax)));
    return copy;
  }();
  const MarkedView line = owned.View();

  int result = 0;
  std::size_t pos = 0;
  while (pos <= line.text.size()) {
    std::size_t cut = line.FindWritten(kSeparator, pos);
    std::size_t end = cut == std::string_view::npos ? line.text.size() : cut;
    const std::string_view segment = RestAfter(line.text.substr(0, end), pos);
    const std::size_t from = static_cast<std::size_t>(segment.data() - line.text.data());
    const MarkedView marked = line.From(from).Prefix(segment.size());
    const bool comment = marked.FindWritten("//") == 0;
    if (!segment.empty() && !comment) {
      if (++in.segments_started > kMaxSegmentsPerRun) {
        in.status.Set("CmndErrN");
        break;
      }
      result = RunSegment(in, window, marked, context);
    }
    if (cut == std::string_view::npos) break;
    pos = cut + kSeparator.size();
  }
  in.nesting_depth = taken;
  --in.runs_in_progress;
  return result;
}

}  // namespace

std::string_view WorkingDirectoryOf(std::string_view file) {
  std::size_t last = FindLastSjisChar(file, '\\');
  if (last == std::string_view::npos) return {};
  return file.substr(0, SjisCutLength(file.substr(0, last), kPathBuffer - 1));
}

int RunCommand(Interpreter& in, WindowRef window, std::string_view text, int context) {
  return RunSegment(in, window, MarkedView{text, {}}, context);
}

int RunCommandLine(Interpreter& in, WindowRef window, std::string_view text, int context) {
  return RunLine(in, window, MarkedView{text, {}}, context);
}

int RunCommandLine(Interpreter& in, WindowRef window, const MarkedLine& line, int context) {
  return RunLine(in, window, line.View(), context);
}

}  // namespace vsmr
