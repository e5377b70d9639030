// Parsing and forming the bytes of vsmrcmd.dat, line by line in the manner of
// fgets into a 772-byte buffer and a token scanner over TAB and LF.
#include "command/command_file.h"

#include "base/sjis.h"

namespace vsmr {
namespace {

// What a text-mode read on Windows hands the program: CR LF becomes LF, and
// a Ctrl+Z byte ends the file.
std::string TextModeRead(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\x1A'));
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text.push_back(bytes[i]);
  }
  return text;
}

// A token scanner over one piece: skips leading delimiters, a run of them
// counts as one, and each token consumes the single delimiter that ends it.
class Tokenizer {
 public:
  explicit Tokenizer(std::string_view text) : text_(text) {}

  bool Next(std::string_view delimiters, std::string_view& token) {
    while (pos_ < text_.size() && delimiters.find(text_[pos_]) != std::string_view::npos) ++pos_;
    if (pos_ >= text_.size()) return false;
    std::size_t start = pos_;
    while (pos_ < text_.size() && delimiters.find(text_[pos_]) == std::string_view::npos) ++pos_;
    token = text_.substr(start, pos_ - start);
    if (pos_ < text_.size()) ++pos_;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// Copies `token` into the field, cut to the field's width without splitting a
// double-byte character. Returns true when it had to cut.
template <std::size_t N>
bool CopyField(FixedText<N>& field, std::string_view token) {
  std::size_t n = SjisCutLength(token, N - 1);
  field.Set(token.substr(0, n));
  return n < token.size();
}

// Parses one piece into `entry`. Returns false when it lacks a name or body.
bool ParsePiece(std::string_view piece, CommandEntry& entry, CommandFileLine& record) {
  // The line is a C string: an embedded NUL ends it.
  piece = piece.substr(0, piece.find('\0'));
  Tokenizer tokens(piece);
  std::string_view name, body, comment;
  if (!tokens.Next("\t", name) || !tokens.Next("\t", body)) return false;
  bool has_comment = tokens.Next("\n", comment);
  entry = CommandEntry{};
  record.name_cut = CopyField(entry.name, name);
  record.body_cut = CopyField(entry.body, body);
  if (has_comment) record.comment_cut = CopyField(entry.comment, comment);
  record.body_keeps_line_end = !body.empty() && body.back() == '\n';
  return true;
}

}  // namespace

void ParseCommandFile(std::string_view bytes, CommandList& list,
                      std::vector<CommandFileLine>* report) {
  list.count = 0;
  const std::string text = TextModeRead(bytes);
  bool stopped = false;
  int line = 1;
  int piece = 1;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = pos + kCommandLinePiece < text.size() ? pos + kCommandLinePiece : text.size();
    std::size_t newline = text.find('\n', pos);
    if (newline != std::string::npos && newline < end) end = newline + 1;
    std::string_view chunk(text.data() + pos, end - pos);

    CommandFileLine record;
    record.line = line;
    record.piece = piece;
    record.blank = chunk.find_first_not_of(" \t\r\n") == std::string_view::npos;
    if (stopped) {
      record.outcome = CommandFileLine::Outcome::kAfterStop;
    } else if (list.count >= kMaxCommands) {
      record.outcome = CommandFileLine::Outcome::kPastCapacity;
    } else if (ParsePiece(chunk, list.entries[list.count], record)) {
      record.outcome = CommandFileLine::Outcome::kLoaded;
      record.entry = list.count++;
    } else {
      record.outcome = CommandFileLine::Outcome::kStop;
      stopped = true;
    }
    if (!report && (stopped || list.count >= kMaxCommands)) break;
    if (report) report->push_back(record);

    pos = end;
    if (chunk.back() == '\n') {
      ++line;
      piece = 1;
    } else {
      ++piece;
    }
  }
}

std::string FormatCommandFile(const CommandList& list) {
  std::string text;
  // A field must not break the line structure: a line end that loading left
  // at the end of a body is dropped, any other line end becomes a space, and
  // so does a TAB in the name or body (the comment is the last field and may
  // hold TABs). Without this a body kept with its line end would be written
  // as an extra line that stops the next load and loses every later entry.
  auto put = [&text](std::string_view field, bool keep_tabs) {
    if (!field.empty() && field.back() == '\n') field.remove_suffix(1);
    for (char c : field) {
      if (c == '\n' || (c == '\t' && !keep_tabs)) c = ' ';
      text.push_back(c);
    }
  };
  for (int i = 0; i < list.count; ++i) {
    const CommandEntry& e = list.entries[i];
    put(e.name.View(), false);
    text.push_back('\t');
    put(e.body.View(), false);
    text.push_back('\t');
    put(e.comment.View(), true);
    text += "\r\n";
  }
  return text;
}

}  // namespace vsmr
