// MarkedLine: text with a written-or-inserted mark per byte.
#include "command/marked_line.h"

namespace vsmr {

std::size_t MarkedView::FindWritten(std::string_view pattern, std::size_t from) const {
  for (std::size_t hit = text.find(pattern, from); hit != std::string_view::npos;
       hit = text.find(pattern, hit + 1)) {
    bool written = true;
    for (std::size_t i = hit; i < hit + pattern.size() && written; ++i) written = !Inserted(i);
    if (written) return hit;
  }
  return std::string_view::npos;
}

MarkedView MarkedView::From(std::size_t from) const {
  if (from > text.size()) from = text.size();
  return {text.substr(from), marks.empty() ? marks : marks.substr(from)};
}

MarkedView MarkedView::Prefix(std::size_t length) const {
  if (length > text.size()) length = text.size();
  return {text.substr(0, length), marks.empty() ? marks : marks.substr(0, length)};
}

MarkedLine MarkedLine::Written(std::string_view text) {
  MarkedLine line;
  line.AddWritten(text);
  return line;
}

void MarkedLine::AddWritten(std::string_view part) {
  text += part;
  marks.append(part.size(), '\0');
}

void MarkedLine::AddInserted(std::string_view part) {
  text += part;
  marks.append(part.size(), '\1');
}

void MarkedLine::Add(MarkedView part) {
  text += part.text;
  if (part.marks.empty()) {
    marks.append(part.text.size(), '\0');
  } else {
    marks += part.marks;
  }
}

void MarkedLine::Cut(std::size_t length) {
  if (length >= text.size()) return;
  text.resize(length);
  marks.resize(length);
}

}  // namespace vsmr
