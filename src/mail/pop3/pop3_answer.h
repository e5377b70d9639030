// Reading server answers: the "+OK" test, blank-separated fields, decimal
// numbers as the client reads them, and the end of a multi-line answer.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace vsmr {

// The text up to its first NUL byte (answers are kept as NUL-terminated text).
std::string_view AnswerText(std::string_view received);

// True when the first three bytes are "+OK" in any letter case.
bool BeginsWithOk(std::string_view answer);

// Field `index` (1 = the first) of the answer: runs of characters between
// blanks, where runs of blanks are one separator and line breaks are not
// separators. Empty when there are fewer fields.
std::string_view AnswerField(std::string_view answer, int index);

struct AnswerNumber {
  std::int32_t value = 0;   // saturated to the 32-bit range
  bool has_digits = false;  // false: no number (the value is 0)
};

// Leading white space, an optional sign, then the digits that follow.
AnswerNumber ParseAnswerNumber(std::string_view field);

// True when `collected` (status line first) ends with the terminating line
// of a multi-line answer: CR LF, ".", CR LF.
bool EndsMultiLineAnswer(std::string_view collected);

// A multi-line answer as its sender wrote it: the status line kept, the
// terminating line dropped, and the "." that the server puts before every line
// beginning with "." taken away again. A download cut short, without its
// terminating line, keeps everything it holds.
std::string UnstuffMultiLineAnswer(std::string_view answer);

}  // namespace vsmr
