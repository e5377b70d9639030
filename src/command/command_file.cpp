// Parsing and forming the bytes of vsmrcmd.dat, line by line in the manner of
// fgets into a 772-byte buffer and a token scanner over TAB and LF, with the
// bytes of each piece kept at hand for what a save must write back.
#include "command/command_file.h"

#include "base/sjis.h"

namespace vsmr {
namespace {

constexpr char kEndMark = '\x1A';  // Ctrl+Z: a text-mode read ends there

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

// The next piece from `pos` in the file's bytes, as a text-mode fgets gives
// it: CR LF read as LF, at most kCommandLinePiece bytes, up to and including
// a LF. `pos` moves past the bytes it came from.
std::string NextPiece(std::string_view bytes, std::size_t& pos) {
  std::string text;
  while (text.size() < kCommandLinePiece && pos < bytes.size()) {
    if (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') {
      ++pos;
      continue;
    }
    text.push_back(bytes[pos++]);
    if (text.back() == '\n') break;
  }
  return text;
}

bool SameEntry(const CommandEntry& a, const CommandEntry& b) {
  return a.name.View() == b.name.View() && a.body.View() == b.body.View() &&
         a.comment.View() == b.comment.View();
}

// One entry in the program's form.
void AppendEntry(std::string& text, const CommandEntry& e) {
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
  put(e.name.View(), false);
  text.push_back('\t');
  put(e.body.View(), false);
  text.push_back('\t');
  put(e.comment.View(), true);
  text += "\r\n";
}

// Collects the entries of the line being read and keeps the line when the
// program's form would not give its bytes back.
class LineKeeper {
 public:
  LineKeeper(std::string_view bytes, CommandFileKeep* keep) : bytes_(bytes), keep_(keep) {}

  void Loaded(const CommandEntry& entry, int slot, std::size_t piece_begin) {
    if (!keep_) return;
    if (line_.entries.empty()) {
      begin_ = piece_begin;
      line_.first_entry = slot;
    }
    line_.entries.push_back(entry);
  }
  // The line read so far ends just before `end`.
  void EndLine(std::size_t end) {
    if (!keep_ || line_.entries.empty()) return;
    line_.bytes.assign(bytes_.substr(begin_, end - begin_));
    std::string own;
    for (const CommandEntry& e : line_.entries) AppendEntry(own, e);
    if (own != line_.bytes) keep_->lines.push_back(std::move(line_));
    line_ = {};
  }

 private:
  std::string_view bytes_;
  CommandFileKeep* keep_;
  CommandFileKeep::Line line_;
  std::size_t begin_ = 0;
};

}  // namespace

bool CommandFileKeep::RestHoldsLines() const {
  return rest.find_first_not_of(" \t\r\n\x1A") != std::string::npos;
}

void ParseCommandFile(std::string_view bytes, CommandList& list,
                      std::vector<CommandFileLine>* report, CommandFileKeep* keep) {
  list.count = 0;
  if (keep) *keep = CommandFileKeep{};
  const std::string_view text = bytes.substr(0, bytes.find(kEndMark));
  LineKeeper kept(bytes, keep);
  bool stopped = false;
  int line = 1;
  int piece = 1;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t begin = pos;
    const std::string chunk = NextPiece(text, pos);

    CommandFileLine record;
    record.line = line;
    record.piece = piece;
    record.blank = chunk.find_first_not_of(" \t\r\n") == std::string::npos;
    if (stopped) {
      record.outcome = CommandFileLine::Outcome::kAfterStop;
    } else if (list.count >= kMaxCommands) {
      record.outcome = CommandFileLine::Outcome::kPastCapacity;
    } else if (ParsePiece(chunk, list.entries[list.count], record)) {
      record.outcome = CommandFileLine::Outcome::kLoaded;
      record.entry = list.count++;
      kept.Loaded(list.entries[record.entry], record.entry, begin);
      if (keep && keep->first_cut_line == 0 &&
          (record.name_cut || record.body_cut || record.comment_cut || piece > 1)) {
        keep->first_cut_line = line;
      }
    } else {
      record.outcome = CommandFileLine::Outcome::kStop;
    }
    if (!stopped && record.outcome != CommandFileLine::Outcome::kLoaded) {
      stopped = true;
      kept.EndLine(begin);
      if (keep) {
        keep->rest.assign(bytes.substr(begin));
        keep->stop = record.outcome == CommandFileLine::Outcome::kPastCapacity
                         ? CommandFileKeep::Stop::kCapacity
                     : record.blank ? CommandFileKeep::Stop::kEmptyLine
                                    : CommandFileKeep::Stop::kMalformed;
        keep->stop_line = line;
      }
    }
    if (!report && stopped) return;
    if (report) report->push_back(record);

    if (chunk.back() == '\n') {
      if (!stopped) kept.EndLine(pos);
      ++line;
      piece = 1;
    } else {
      ++piece;
    }
  }
  if (stopped) return;
  kept.EndLine(text.size());
  if (keep && text.size() < bytes.size()) {
    keep->rest.assign(bytes.substr(text.size()));
    keep->stop = CommandFileKeep::Stop::kEndMark;
    keep->stop_line = line;
  }
}

std::string FormatCommandFile(const CommandList& list, const CommandFileKeep* keep) {
  std::string text;
  const std::size_t kept = keep ? keep->lines.size() : 0;
  const int count = list.count < 0 ? 0 : list.count;
  // Whether kept line `k` can be written for the entries at `at`. A line
  // without its line end (the last one read) only ever ends the table:
  // anything written after it would join it.
  auto fits = [&](std::size_t k, int at) {
    const CommandFileKeep::Line& line = keep->lines[k];
    const int n = static_cast<int>(line.entries.size());
    if (at < 0 || n > count - at) return false;
    if (line.bytes.back() != '\n' && at + n != count) return false;
    for (int i = 0; i < n; ++i) {
      if (!SameEntry(line.entries[i], list.entries[at + i])) return false;
    }
    return true;
  };
  // A line whose entries still stand where they were loaded is written there,
  // so that equal entries from differently written lines keep their own lines;
  // the others go with their entries wherever those moved.
  std::vector<int> home(static_cast<std::size_t>(count), -1);
  std::vector<bool> used(kept, false);
  for (std::size_t k = 0; k < kept; ++k) {
    const int at = keep->lines[k].first_entry;
    if (at < count && home[at] < 0 && fits(k, at)) {
      home[at] = static_cast<int>(k);
      used[k] = true;
    }
  }
  for (int i = 0; i < count;) {
    int k = home[i];
    for (std::size_t j = 0; k < 0 && j < kept; ++j) {
      if (!used[j] && fits(j, i)) {
        k = static_cast<int>(j);
        used[j] = true;
      }
    }
    if (k < 0) {
      AppendEntry(text, list.entries[i++]);
      continue;
    }
    text += keep->lines[k].bytes;
    i += static_cast<int>(keep->lines[k].entries.size());
  }
  if (keep) text += keep->rest;
  return text;
}

}  // namespace vsmr
