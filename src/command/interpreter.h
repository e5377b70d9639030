// The command interpreter: runs a line of the command language against the
// command list. It reaches the platform through two seams: the shell's "open"
// operation and the built-in commands ("#" and a number).
#pragma once
#include <cstddef>
#include <string_view>

#include "command/command_list.h"
#include "command/marked_line.h"
#include "command/run_context.h"
#include "command/status_word.h"

namespace vsmr {

// The main window (or the window owning a mail job) as an opaque handle: it
// owns message boxes and receives the window commands that built-ins send.
using WindowRef = void*;

// The longest command line in bytes, wherever a line comes from (typed, a
// button's item with dropped files, a body with its arguments): longer text is cut.
inline constexpr std::size_t kLineMax = 8191;
// Size of every working copy of a line: the line and its terminator.
inline constexpr std::size_t kLineBuffer = kLineMax + 1;
// Size of the shell's working-directory and folder-alias path buffers.
inline constexpr std::size_t kPathBuffer = 260;
// Runs nested deeper than this are refused with "CmndErrN".
inline constexpr int kMaxNesting = 8;
// Segments one outermost run may start, its nested runs included. Eight
// levels of lines with hundreds of " & " segments each would otherwise run
// for hours; past this the rest of the run is refused with "CmndErrN".
inline constexpr int kMaxSegmentsPerRun = 10000;
// Runs in progress on the stack, counting fresh top-level runs started inside
// another (an event whose command raises the event again would otherwise
// recurse until the stack ends). Past this a run is refused with "CmndErrN".
inline constexpr int kMaxRunsInProgress = 32;

// What the shell's "open" answers (ShellExecuteA's codes); any result not
// named here and not above kShellLastError is a plain failure.
inline constexpr int kShellOutOfResources = 0;  // out of memory or resources
inline constexpr int kShellAccessDenied = 5;
inline constexpr int kShellLastError = 32;      // every result above it is success
constexpr bool ShellSucceeded(int result) { return result > kShellLastError; }

// The shell's "open" operation.
class Shell {
 public:
  virtual ~Shell() = default;
  // Opens `file` with the verb "open", no owner window, shown normally.
  // `parameters` and `directory` may be null (none). Returns what ShellExecuteA
  // returns (see ShellSucceeded and the codes above).
  virtual int Open(const char* file, const char* parameters, const char* directory) = 0;
};

// The arguments of one command: 32 slots, each a NUL-terminated text owned by
// the caller of the command (a working copy of the line, or a command's body).
// An absent argument reads "-1".
struct ArgumentVector {
  static constexpr int kSlots = 32;
  const char* slot[kSlots];
  // The marks of each slot's bytes (see MarkedLine), or null where every byte
  // was written by the user.
  const char* marks[kSlots];
  int count = 0;  // how many slots were filled by splitting

  ArgumentVector() { Reset(); }
  // Every slot back to "-1", count 0.
  void Reset();
  // Argument k counted from 1 ("-1" outside 1..32).
  const char* Get(int k) const { return k >= 1 && k <= kSlots ? slot[k - 1] : "-1"; }
  // Argument k with its marks.
  MarkedView GetMarked(int k) const;
};

struct Interpreter;

// The built-in commands. `line` is the segment that named the built-in (its
// data() is NUL-terminated at size()) and `name_length` the length of its
// name part (the whole segment for a "#n" written directly); the text after
// it is the built-in's rest-of-line.
// Returns the command's result, 1 or 0; an unknown number returns 0.
class BuiltinRunner {
 public:
  virtual ~BuiltinRunner() = default;
  virtual int RunBuiltin(Interpreter& interpreter, WindowRef window, int number,
                         std::string_view line, std::size_t name_length,
                         const ArgumentVector& arguments, int context) = 0;
};

// Knows no built-in: every number returns 0.
class NullBuiltinRunner : public BuiltinRunner {
 public:
  int RunBuiltin(Interpreter&, WindowRef, int, std::string_view, std::size_t,
                 const ArgumentVector&, int) override {
    return 0;
  }
};

// Everything a run needs. Runs happen on the user-interface thread only, so
// the nesting depth is a plain integer; only the status word is shared with
// other threads.
struct Interpreter {
  CommandList& commands;
  StatusWord& status;
  Shell& shell;
  BuiltinRunner& builtins;
  int nesting_depth = 0;  // RunCommandLine calls in progress; top-level callers reset it to 0
  int segments_started = 0;  // by the current outermost run; counted against kMaxSegmentsPerRun
  int runs_in_progress = 0;  // like nesting_depth, but never reset by a fresh run
};

// Runs a line: its " & " segments in order, "//" comment segments skipped.
// Returns the result (1 or 0) of the last segment that ran, 0 if none ran.
// `context` (kContextLauncher ... or ButtonContext) is handed unchanged to
// nested runs and built-ins. The line is cut at kLineMax bytes.
int RunCommandLine(Interpreter& interpreter, WindowRef window, std::string_view text, int context);

// Runs a line that the program built around text it did not write (the
// new-mail event, a drop on a button): the same rules, except that inserted
// bytes stay the text of the argument they stand in, down through the bodies
// of the commands that place them (see MarkedLine).
int RunCommandLine(Interpreter& interpreter, WindowRef window, const MarkedLine& line,
                   int context);

// Runs one segment: a built-in written directly, a command of the list, or
// else the shell's "open" of the segment. Returns 1 or 0.
int RunCommand(Interpreter& interpreter, WindowRef window, std::string_view segment, int context);

// Splits the NUL-terminated `text` in place into `arguments`, beginning at the
// first space at or after `start`. Returns the count (0 to 32), also stored in
// arguments.count. Arguments of the form #name take the named command's body.
int SplitArguments(const CommandList& commands, char* text, ArgumentVector& arguments,
                   std::size_t start);
// The same over a marked text: `marks` (null, or as long as `text`) is moved
// along with the bytes, and inserted bytes never end, quote or resolve an argument.
int SplitArguments(const CommandList& commands, char* text, char* marks, ArgumentVector& arguments,
                   std::size_t start);

// `text` itself, or, when it is "#" followed by a command's name (without
// regard to case, over the name's length; first entry wins), that command's body.
const char* ResolveReference(const CommandList& commands, const char* text);

// Substitutes the arguments into the NUL-terminated `body` (a buffer of
// `capacity` bytes) in place: "%**" takes the rest of `line` after the name;
// otherwise %01 to %NN take arguments 1 to `count`. Returns 0 when the body
// holds no "%" at all, else 1. Text that would grow past the buffer is cut.
int ExpandParameters(std::string_view line, char* body, std::size_t capacity,
                     const ArgumentVector& arguments, int count, std::size_t name_length);
// The same over marked text: `body` grows to at most capacity - 1 bytes, and a
// placeholder is only ever one the user wrote, never one inside inserted text.
int ExpandParameters(MarkedView line, MarkedLine& body, std::size_t capacity,
                     const ArgumentVector& arguments, int count, std::size_t name_length);

// The fallback when running an expanded body failed: opens the body through
// the shell, with the rest of the line (in double quotes) as parameters when
// the body holds no "%", else the expanded body alone. `body` is a buffer of
// `capacity` bytes that is expanded in place. Returns 1 when the shell succeeded.
int OpenWithParameters(Shell& shell, std::string_view line, char* body, std::size_t capacity,
                       std::size_t name_length, const ArgumentVector& arguments, int count);

// The working directory the interpreter gives the shell for `file`: the text
// before its last backslash (a Shift-JIS trail byte 0x5C is not one), cut to
// 259 bytes; empty when it has none.
std::string_view WorkingDirectoryOf(std::string_view file);

}  // namespace vsmr
