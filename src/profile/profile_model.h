// The in-memory shape of a profile file: every line kept byte for byte with
// its own line end, grouped into sections, with lookup tables by folded name.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vsmr::profile {

enum class LineEnd : unsigned char { kNone, kLf, kCrLf, kCr };

struct Line {
  std::string text;  // without its line end
  LineEnd end = LineEnd::kCrLf;
};

struct Section {
  bool has_header = false;  // false only for the lines before the first header
  Line header;
  std::vector<Line> lines;
  // Folded key name -> index in `lines` of its first line.
  std::unordered_map<std::string, std::size_t> keys;
};

class Model {
 public:
  static Model Parse(std::string_view bytes);

  // The trimmed value of the key's first line in the first section of that
  // name (names match without regard to ASCII case). False when absent.
  bool Find(std::string_view section, std::string_view key, std::string_view& value) const;
  // Replaces or adds the key (see ProfileDocument); `text` is cut at its first
  // line break. Returns false when the bytes did not change (the key already
  // held exactly this value).
  bool Write(std::string_view section, std::string_view key, std::string_view text);

  // The reads of ProfileDocument: quotes removed, absent keys give the default,
  // text cut to the buffer, the integer rule for numbers.
  void ReadString(std::string_view section, std::string_view key, std::string_view default_text,
                  char* buffer, std::size_t length) const;
  std::int32_t ReadInt(std::string_view section, std::string_view key,
                       std::int32_t default_value) const;

  std::string Bytes() const;

 private:
  const Section* FindSection(std::string_view folded) const;
  Line* LastLine();
  // Both take the finished key line; a section name that would not read back
  // as a header is refused (false).
  bool AppendSection(std::string_view section, std::string line);
  void AppendKey(Section& s, std::string line);

  std::string bom_;                // a UTF-8 byte order mark, kept but not parsed
  std::vector<Section> sections_;  // [0] holds the lines before the first header
  std::unordered_map<std::string, std::size_t> by_name_;  // folded -> first section
};

}  // namespace vsmr::profile
