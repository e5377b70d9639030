// Running one sequence of profile reads and writes through the platform's
// profile API, through our single-key functions and through ProfileDocument,
// and recording what each gave: read results and the file's bytes at the end.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vsmr::diff {

struct Op {
  enum Kind { kWrite, kWriteInt, kRead, kReadInt } kind;
  std::string section;
  std::string key;
  std::string text;           // value written, or the read's default text
  std::int32_t number = 0;    // value written, or the integer read's default
  std::size_t length = 0;     // buffer length of a string read
};

inline Op W(std::string s, std::string k, std::string text) {
  return {Op::kWrite, std::move(s), std::move(k), std::move(text)};
}
inline Op WI(std::string s, std::string k, std::int32_t n) {
  return {Op::kWriteInt, std::move(s), std::move(k), {}, n};
}
inline Op R(std::string s, std::string k, std::size_t length = 100, std::string def = "DEF") {
  return {Op::kRead, std::move(s), std::move(k), std::move(def), 0, length};
}
inline Op RI(std::string s, std::string k, std::int32_t def = 99) {
  return {Op::kReadInt, std::move(s), std::move(k), {}, def};
}

// What one side gave: each read's result in order, then the file.
struct Outcome {
  std::vector<std::string> reads;
  std::string file;  // kAbsent when there is no file
  bool wrote_past_terminator = false;
};
inline const std::string kAbsent = "<no file>";

enum class Side { kPlatform, kOurs, kDocument };

// Runs `ops` on a file at `path` that starts as `start` (nullopt: no file).
Outcome RunOps(Side side, const std::string& path, const std::optional<std::string>& start,
            const std::vector<Op>& ops);

// Bytes as readable ASCII: CR, LF, tab, other control bytes and the bytes of
// double-byte characters escaped.
std::string Escape(const std::string& bytes);
std::string Describe(const Outcome& o);

}  // namespace vsmr::diff
