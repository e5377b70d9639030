// Parsing a profile file into lines and sections, in-place edits, and the
// bytes back. Lines that are not the written key are never touched.
#include "profile/profile_model.h"

#include "base/fixed_text.h"
#include "profile/profile_syntax.h"

namespace vsmr::profile {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view EndText(LineEnd end) {
  switch (end) {
    case LineEnd::kLf: return "\n";
    case LineEnd::kCrLf: return "\r\n";
    case LineEnd::kCr: return "\r";
    case LineEnd::kNone: break;
  }
  return {};
}

// Every line we produce ends in CR LF; a line that had no end (the last line
// of a file without a final line end) gets one before anything follows it.
void EnsureEnded(Line& line) {
  if (line.end == LineEnd::kNone) line.end = LineEnd::kCrLf;
}

std::string KeyText(std::string_view key, std::string_view value) {
  std::string text;
  text.reserve(key.size() + 1 + value.size());
  text.append(key).append(1, '=').append(value);
  return text;
}

}  // namespace

Model Model::Parse(std::string_view bytes) {
  Model m;
  if (bytes.substr(0, kBom.size()) == kBom) {
    m.bom_ = kBom;
    bytes.remove_prefix(kBom.size());
  }
  m.sections_.emplace_back();
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t stop = bytes.find_first_of("\r\n", pos);
    Line line;
    if (stop == std::string_view::npos) {
      line.text = bytes.substr(pos);
      line.end = LineEnd::kNone;
      pos = bytes.size();
    } else {
      line.text = bytes.substr(pos, stop - pos);
      if (bytes[stop] == '\n') {
        line.end = LineEnd::kLf;
        pos = stop + 1;
      } else if (stop + 1 < bytes.size() && bytes[stop + 1] == '\n') {
        line.end = LineEnd::kCrLf;
        pos = stop + 2;
      } else {
        line.end = LineEnd::kCr;
        pos = stop + 1;
      }
    }
    if (auto name = ParseSectionHeader(line.text)) {
      m.by_name_.emplace(FoldName(*name), m.sections_.size());
      Section& s = m.sections_.emplace_back();
      s.has_header = true;
      s.header = std::move(line);
      continue;
    }
    Section& s = m.sections_.back();
    if (auto key = ParseKeyLine(line.text)) s.keys.emplace(FoldName(key->name), s.lines.size());
    s.lines.push_back(std::move(line));
  }
  return m;
}

const Section* Model::FindSection(std::string_view folded) const {
  auto it = by_name_.find(std::string(folded));
  return it == by_name_.end() ? nullptr : &sections_[it->second];
}

bool Model::Find(std::string_view section, std::string_view key, std::string_view& value) const {
  const Section* s = FindSection(FoldName(section));
  if (!s) return false;
  auto it = s->keys.find(FoldName(key));
  if (it == s->keys.end()) return false;
  value = ParseKeyLine(s->lines[it->second].text)->value;
  // Text after a NUL byte is unreachable for a NUL-terminated reader.
  value = TrimBlanks(value.substr(0, value.find('\0')));
  return true;
}

void Model::ReadString(std::string_view section, std::string_view key,
                       std::string_view default_text, char* buffer, std::size_t length) const {
  if (!buffer || length == 0) return;
  std::string_view value;
  CopyCut(buffer, length, Find(section, key, value) ? StripQuotes(value) : default_text);
}

std::int32_t Model::ReadInt(std::string_view section, std::string_view key,
                            std::int32_t default_value) const {
  std::string_view value;
  if (!Find(section, key, value)) return default_value;
  value = StripQuotes(value);
  return value.empty() ? default_value : LeadingInt(value);
}

bool Model::Write(std::string_view section, std::string_view key, std::string_view text) {
  // A line break inside a value would end the line early and turn the rest
  // into lines of their own, so a value is one line.
  std::string_view value = SingleLine(text);
  std::string line = KeyText(key, value);
  // A name that would not read back as this key (a line break in it, or a
  // key line that looks like a section header) cannot be stored.
  if (key.find_first_of("\r\n") != std::string_view::npos || ParseSectionHeader(line)) {
    return false;
  }
  auto sit = by_name_.find(FoldName(section));
  if (sit == by_name_.end()) return AppendSection(section, std::move(line));
  Section& s = sections_[sit->second];
  auto kit = s.keys.find(FoldName(key));
  if (kit == s.keys.end()) {
    AppendKey(s, std::move(line));
    return true;
  }
  Line& old_line = s.lines[kit->second];
  KeyLine old = *ParseKeyLine(old_line.text);
  // Like the platform, an unchanged value leaves the line exactly as it was.
  if (old.value == value) return false;
  // The line keeps the spelling of its key name and its own line end.
  old_line.text = KeyText(old.name, value);
  EnsureEnded(old_line);
  return true;
}

Line* Model::LastLine() {
  for (auto it = sections_.rbegin(); it != sections_.rend(); ++it) {
    if (!it->lines.empty()) return &it->lines.back();
    if (it->has_header) return &it->header;
  }
  return nullptr;
}

bool Model::AppendSection(std::string_view section, std::string line) {
  std::string header;
  header.reserve(section.size() + 2);
  header.append(1, '[').append(section).append(1, ']');
  auto name = ParseSectionHeader(header);
  if (!name || section.find_first_of("\r\n") != std::string_view::npos) return false;
  if (Line* last = LastLine()) EnsureEnded(*last);
  // Indexed by the names as a later parse of the bytes will see them.
  by_name_.emplace(FoldName(*name), sections_.size());
  Section& s = sections_.emplace_back();
  s.has_header = true;
  s.header.text = std::move(header);
  s.keys.emplace(FoldName(ParseKeyLine(line)->name), 0);
  s.lines.push_back(Line{std::move(line), LineEnd::kCrLf});
  return true;
}

void Model::AppendKey(Section& s, std::string line) {
  // The new key follows the section's last non-blank line, so blank lines that
  // separate it from the next section stay where they are.
  std::size_t at = s.lines.size();
  while (at > 0 && IsBlankLine(s.lines[at - 1].text)) --at;
  EnsureEnded(at > 0 ? s.lines[at - 1] : s.header);
  // Only blank lines move, and blank lines are never in `keys`.
  s.keys.emplace(FoldName(ParseKeyLine(line)->name), at);
  s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(at),
                 Line{std::move(line), LineEnd::kCrLf});
}

std::string Model::Bytes() const {
  std::size_t size = bom_.size();
  for (const Section& s : sections_) {
    if (s.has_header) size += s.header.text.size() + 2;
    for (const Line& l : s.lines) size += l.text.size() + 2;
  }
  std::string out;
  out.reserve(size);
  out += bom_;
  for (const Section& s : sections_) {
    if (s.has_header) out.append(s.header.text).append(EndText(s.header.end));
    for (const Line& l : s.lines) out.append(l.text).append(EndText(l.end));
  }
  return out;
}

}  // namespace vsmr::profile
