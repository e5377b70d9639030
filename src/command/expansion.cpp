// Substituting typed arguments into a command's body, and the fallback that
// opens the body through the shell when running it failed.
#include <cstdio>
#include <cstring>
#include <string>

#include "base/sjis.h"
#include "command/interpreter.h"
#include "command/line_text.h"

namespace vsmr {

namespace {

// Replaces every occurrence of `pattern` that the user wrote (no byte of it
// inserted) by `replacement`, left to right; the scan resumes after the text
// just inserted, as ReplaceAll's does. The result is cut to capacity - 1 bytes
// on a character boundary.
void ReplaceWritten(MarkedLine& line, std::string_view pattern, MarkedView replacement,
                    std::size_t capacity) {
  const MarkedView view = line.View();
  MarkedLine out;
  std::size_t read = 0;
  for (std::size_t hit; (hit = view.FindWritten(pattern, read)) != std::string_view::npos;) {
    out.Add(view.From(read).Prefix(hit - read));
    out.Add(replacement);
    read = hit + pattern.size();
  }
  if (read == 0) return;
  out.Add(view.From(read));
  out.Cut(capacity == 0 ? 0 : SjisCutLength(out.text, capacity - 1));
  line = std::move(out);
}

}  // namespace

int ExpandParameters(MarkedView line, MarkedLine& body, std::size_t capacity,
                     const ArgumentVector& arguments, int count, std::size_t name_length) {
  if (body.text.find("%**") != std::string::npos) {
    const MarkedView head = line.Prefix(UpToNul(line.text).size());
    const std::string_view rest = RestAfter(head.text, name_length);
    ReplaceWritten(body, "%**", head.From(head.text.size() - rest.size()), capacity);
    return 1;
  }
  if (body.text.find('%') == std::string::npos) return 0;
  if (count > ArgumentVector::kSlots) count = ArgumentVector::kSlots;
  for (int k = 1; k <= count; ++k) {
    char placeholder[16];
    std::snprintf(placeholder, sizeof placeholder, "%%%02d", k);
    ReplaceWritten(body, placeholder, arguments.GetMarked(k), capacity);
  }
  return 1;
}

int ExpandParameters(std::string_view line, char* body, std::size_t capacity,
                     const ArgumentVector& arguments, int count, std::size_t name_length) {
  MarkedLine expanded = MarkedLine::Written(std::string_view(body, ::strnlen(body, capacity)));
  const int result =
      ExpandParameters(MarkedView{line, {}}, expanded, capacity, arguments, count, name_length);
  CopyLine(body, capacity, expanded.text);
  return result;
}

int OpenWithParameters(Shell& shell, std::string_view line, char* body, std::size_t capacity,
                       std::size_t name_length, const ArgumentVector& arguments, int count) {
  int result;
  if (std::strchr(body, '%') == nullptr) {
    std::string_view rest = RestAfter(UpToNul(line), name_length);
    if (rest.empty()) {
      result = shell.Open(body, nullptr, nullptr);
    } else {
      std::string parameters(kLineBuffer, '\0');
      CopyLine(parameters.data(), kLineBuffer, "\"");
      AppendLine(parameters.data(), kLineBuffer, rest);
      AppendLine(parameters.data(), kLineBuffer, "\"");
      result = shell.Open(body, parameters.c_str(), nullptr);
    }
  } else {
    ExpandParameters(line, body, capacity, arguments, count, name_length);
    result = shell.Open(body, nullptr, nullptr);
  }
  return ShellSucceeded(result) ? 1 : 0;
}

}  // namespace vsmr
