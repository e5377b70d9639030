// HTML to plain text for the message view: one pass over the converted text
// with a writer that collapses blanks and keeps lines.
#include "mail/mime/mail_html.h"

#include <cstring>
#include <string>

#include "base/sjis.h"
#include "mail/mime/cp932.h"
#include "mail/mime/mail_ascii.h"
#include "mail/mime/mail_html_entity.h"

namespace vsmr {
namespace {

// Elements that begin and end lines of text.
constexpr std::string_view kBlockElements[] = {
    "address", "article", "aside", "blockquote", "body",  "center", "dd",      "div",
    "dl",      "dt",      "fieldset", "figcaption", "figure", "footer", "form", "h1",
    "h2",      "h3",      "h4",    "h5",         "h6",    "header", "hr",      "html",
    "li",      "main",    "nav",   "ol",         "p",     "pre",    "section", "table",
    "tbody",   "tfoot",   "thead", "tr",         "ul"};
// Link targets kept after the link's text: the ones the view can open.
constexpr std::string_view kLinkSchemes[] = {"http:", "https:", "ftp:", "mailto:"};
constexpr std::string_view kMailto = "mailto:";

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && StartsWithNoCase(a, b);
}

std::string_view TrimSpace(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

// The text as lines: blanks between words collapse to one, none at a line's
// start or end; once something does not fit, nothing more is written.
class TextWriter {
 public:
  TextWriter(char* dest, std::size_t size) : dest_(dest), room_(size - 1) { dest_[0] = '\0'; }

  void Blank() { pending_blank_ = !line_start_; }
  // Characters shown as they are (Shift-JIS bytes, no line breaks).
  void Visible(std::string_view text) {
    if (text.empty()) return;
    if (pending_blank_) Put(" ");
    pending_blank_ = false;
    line_start_ = false;
    Put(text);
  }
  void VisibleCodePoint(char32_t cp) {
    const std::uint16_t code = Cp932OrGeta(cp);
    const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    Visible(code > 0xFF ? std::string_view(bytes, 2) : std::string_view(bytes + 1, 1));
  }
  void LineBreak() {
    Put("\r\n");
    line_start_ = true;
    pending_blank_ = false;
  }
  void EndLine() {
    if (!line_start_) LineBreak();
    pending_blank_ = false;
  }
  // Inside <pre>: every byte as it is.
  void Preformatted(char c) {
    Put(std::string_view(&c, 1));
    line_start_ = c == '\n';
    pending_blank_ = false;
  }
  std::size_t length() const { return length_; }
  bool full() const { return full_; }
  std::string_view Since(std::size_t mark) const { return std::string_view(dest_ + mark, length_ - mark); }

 private:
  void Put(std::string_view text) {
    if (full_) return;
    const std::size_t n = SjisCutLength(text, room_ - length_);
    std::memcpy(dest_ + length_, text.data(), n);
    length_ += n;
    dest_[length_] = '\0';
    full_ = n < text.size();
  }

  char* dest_;
  std::size_t room_;
  std::size_t length_ = 0;
  bool line_start_ = true;
  bool pending_blank_ = false;
  bool full_ = false;
};

struct Tag {
  std::string_view name;
  bool closing = false;
  std::string_view attributes;  // the text between the name and the tag's end
  std::size_t end = 0;          // position after the ">"
};

// The tag at html[at] ("<" and a letter, or "</" and a letter), or false when
// it has no end.
bool ReadTag(std::string_view html, std::size_t at, Tag& tag) {
  tag.closing = html[at + 1] == '/';
  const std::size_t start = at + (tag.closing ? 2 : 1);
  std::size_t i = start;
  while (i < html.size() && !IsSpace(html[i]) && html[i] != '/' && html[i] != '>' && html[i] != '\0') ++i;
  tag.name = html.substr(start, i - start);
  const std::size_t attributes = i;
  char quote = 0;
  for (; i < html.size(); ++i) {
    if (quote != 0) {
      if (html[i] == quote) quote = 0;
    } else if (html[i] == '"' || html[i] == '\'') {
      quote = html[i];
    } else if (html[i] == '>') {
      tag.attributes = html.substr(attributes, i - attributes);
      tag.end = i + 1;
      return true;
    }
  }
  return false;
}

// The raw value of attribute `name` in a start tag's attribute text.
bool FindAttribute(std::string_view text, std::string_view name, std::string_view& value) {
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (IsSpace(text[i]) || text[i] == '/')) ++i;
    const std::size_t name_start = i;
    while (i < text.size() && !IsSpace(text[i]) && text[i] != '/' && text[i] != '=') ++i;
    const std::string_view found = text.substr(name_start, i - name_start);
    while (i < text.size() && IsSpace(text[i])) ++i;
    std::string_view found_value;
    if (i < text.size() && text[i] == '=') {
      while (i < text.size() && (text[i] == '=' || IsSpace(text[i]))) ++i;
      std::size_t value_start = i;
      if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
        const char quote = text[i];
        value_start = ++i;
        while (i < text.size() && text[i] != quote) ++i;
        found_value = text.substr(value_start, i - value_start);
        if (i < text.size()) ++i;
      } else {
        while (i < text.size() && !IsSpace(text[i])) ++i;
        found_value = text.substr(value_start, i - value_start);
      }
    }
    if (!found.empty() && EqualsNoCase(found, name)) {
      value = found_value;
      return true;
    }
    if (found.empty() && i == name_start) ++i;
  }
  return false;
}

// Character references of an attribute value decoded into Shift-JIS.
std::string DecodeAttribute(std::string_view value) {
  std::string text;
  for (std::size_t i = 0; i < value.size();) {
    const HtmlCharRef ref = value[i] == '&' ? ReadHtmlCharRef(value.substr(i)) : HtmlCharRef{};
    if (ref.length == 0) {
      text += value[i++];
      continue;
    }
    for (char32_t cp : {ref.first, ref.second}) {
      if (cp == 0) continue;
      const std::uint16_t code = Cp932OrGeta(cp);
      if (code > 0xFF) text += static_cast<char>(code >> 8);
      text += static_cast<char>(code & 0xFF);
    }
    i += ref.length;
  }
  return text;
}

class HtmlReader {
 public:
  HtmlReader(std::string_view html, char* dest, std::size_t dest_size)
      : html_(html), out_(dest, dest_size) {}

  std::size_t Run() {
    std::size_t i = 0;
    while (i < html_.size() && !out_.full()) {
      const char c = html_[i];
      if (c == '\0') break;
      if (c == '<') {
        i = Markup(i);
      } else if (c == '&' && hidden_ == 0) {
        const HtmlCharRef ref = ReadHtmlCharRef(html_.substr(i));
        if (ref.length == 0) {
          out_.Visible("&");
          ++i;
        } else {
          Reference(ref.first);
          Reference(ref.second);
          i += ref.length;
        }
      } else {
        i = Text(i);
      }
    }
    return out_.length();
  }

 private:
  // One character of text at `i`; returns the position after it.
  std::size_t Text(std::size_t i) {
    const char c = html_[i];
    const std::size_t length = IsSjisLeadByte(static_cast<unsigned char>(c)) && i + 1 < html_.size() ? 2 : 1;
    if (hidden_ > 0) return i + length;
    if (preformatted_ > 0) {
      for (std::size_t k = 0; k < length; ++k) out_.Preformatted(html_[i + k]);
    } else if (IsSpace(c)) {
      out_.Blank();
    } else {
      out_.Visible(html_.substr(i, length));
    }
    return i + length;
  }

  void Reference(char32_t cp) {
    if (cp == 0) return;
    if (cp == 0xA0) {
      out_.Visible(" ");
    } else if (cp < 0x80 && IsSpace(static_cast<char>(cp))) {
      if (preformatted_ > 0) {
        if (cp == '\n') out_.Preformatted('\r');
        out_.Preformatted(static_cast<char>(cp));
      } else {
        out_.Blank();
      }
    } else {
      out_.VisibleCodePoint(cp);
    }
  }

  // Markup at html[i] ("<"); returns the position after it.
  std::size_t Markup(std::size_t i) {
    const std::string_view rest = html_.substr(i);
    if (rest.starts_with("<!--")) return After(rest.find("-->", 4), i, 3);
    if (rest.size() > 1 && (rest[1] == '!' || rest[1] == '?')) return After(rest.find('>'), i, 1);
    const bool closing = rest.size() > 1 && rest[1] == '/';
    Tag tag;
    if (rest.size() <= (closing ? 2u : 1u) || !IsLetter(rest[closing ? 2 : 1]) || !ReadTag(html_, i, tag)) {
      if (closing) return After(rest.find('>'), i, 1);  // "</" and no name: dropped
      if (hidden_ == 0) out_.Visible("<");
      return i + 1;
    }
    if (tag.closing) {
      EndTag(tag.name);
      return tag.end;
    }
    return StartTag(tag);
  }

  std::size_t After(std::size_t found, std::size_t at, std::size_t length) const {
    return found == std::string_view::npos ? html_.size() : at + found + length;
  }

  std::size_t StartTag(const Tag& tag) {
    const std::string_view name = tag.name;
    if (EqualsNoCase(name, "script") || EqualsNoCase(name, "style")) {
      // Their text is not HTML: it runs to the first "</" and the name.
      for (std::size_t at = html_.find("</", tag.end); at != std::string_view::npos;
           at = html_.find("</", at + 2)) {
        if (StartsWithNoCase(html_.substr(at + 2), name)) return at;
      }
      return html_.size();
    }
    if (EqualsNoCase(name, "title")) {
      ++hidden_;
    } else if (EqualsNoCase(name, "br")) {
      if (hidden_ == 0) out_.LineBreak();
    } else if (EqualsNoCase(name, "td") || EqualsNoCase(name, "th")) {
      out_.Blank();
    } else if (EqualsNoCase(name, "a")) {
      OpenLink(tag.attributes);
    } else if (IsBlock(name)) {
      out_.EndLine();
      if (EqualsNoCase(name, "pre")) ++preformatted_;
    }
    return tag.end;
  }

  void EndTag(std::string_view name) {
    if (EqualsNoCase(name, "title")) {
      if (hidden_ > 0) --hidden_;
    } else if (EqualsNoCase(name, "a")) {
      CloseLink();
    } else if (IsBlock(name)) {
      out_.EndLine();
      if (EqualsNoCase(name, "pre") && preformatted_ > 0) --preformatted_;
    }
  }

  static bool IsBlock(std::string_view name) {
    for (std::string_view block : kBlockElements) {
      if (EqualsNoCase(name, block)) return true;
    }
    return false;
  }

  void OpenLink(std::string_view attributes) {
    link_open_ = false;
    std::string_view href;
    if (!FindAttribute(attributes, "href", href)) return;
    const std::string target = DecodeAttribute(href);
    const std::string_view trimmed = TrimSpace(target);
    for (std::string_view scheme : kLinkSchemes) {
      if (!StartsWithNoCase(trimmed, scheme)) continue;
      std::string_view shown = trimmed;
      if (scheme == kMailto) {
        shown.remove_prefix(kMailto.size());
        shown = shown.substr(0, shown.find('?'));
      }
      link_target_.assign(shown);
      link_open_ = true;
      link_mark_ = out_.length();
      return;
    }
  }

  void CloseLink() {
    if (!link_open_) return;
    link_open_ = false;
    if (TrimSpace(out_.Since(link_mark_)) == std::string_view(link_target_)) return;
    out_.Blank();
    out_.Visible("<");
    out_.Visible(link_target_);
    out_.Visible(">");
  }

  std::string_view html_;
  TextWriter out_;
  int hidden_ = 0;        // inside <title>
  int preformatted_ = 0;  // inside <pre>
  bool link_open_ = false;
  std::string link_target_;
  std::size_t link_mark_ = 0;
};

}  // namespace

std::size_t HtmlToText(std::string_view html, char* dest, std::size_t dest_size) {
  if (dest_size == 0) return 0;
  return HtmlReader(html, dest, dest_size).Run();
}

}  // namespace vsmr
