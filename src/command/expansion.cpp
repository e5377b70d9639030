// Substituting typed arguments into a command's body, and the fallback that
// opens the body through the shell when running it failed.
#include <cstdio>
#include <cstring>
#include <string>

#include "base/replace_all.h"
#include "command/interpreter.h"
#include "command/line_text.h"

namespace vsmr {

int ExpandParameters(std::string_view line, char* body, std::size_t capacity,
                     const ArgumentVector& arguments, int count, std::size_t name_length) {
  if (std::strstr(body, "%**") != nullptr) {
    ReplaceAll(body, capacity, "%**", RestAfter(UpToNul(line), name_length));
    return 1;
  }
  if (std::strchr(body, '%') == nullptr) return 0;
  if (count > ArgumentVector::kSlots) count = ArgumentVector::kSlots;
  for (int k = 1; k <= count; ++k) {
    char placeholder[16];
    std::snprintf(placeholder, sizeof placeholder, "%%%02d", k);
    ReplaceAll(body, capacity, placeholder, arguments.Get(k));
  }
  return 1;
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
