// The headers of a mailbox in order, pipelined when the server allows it: see
// pop3_header_source.h. Answers are split at their line ends from one buffer,
// with the same status texts, codes, limits and waits as the one-at-a-time path.
#include "mail/pop3/pop3_header_source.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <string_view>

#include "mail/pop3/pop3_answer.h"
#include "mail/pop3/pop3_io.h"
#include "mail/pop3/pop3_texts.h"

namespace vsmr {

namespace {

using pop3_io::kChunk;

// One receive takes what the socket holds up to this: with a window of
// pipelined answers waiting, a few large receives instead of many small ones.
constexpr std::size_t kReceiveSize = 64 * 1024;

// The capability list of any real server is a few hundred bytes.
constexpr std::size_t kCapabilityLimit = 8 * kChunk;
constexpr std::string_view kEndLine = "\r\n.\r\n";

bool IsPipeliningLine(std::string_view line) {
  constexpr std::string_view kWord = "PIPELINING";
  if (line.size() < kWord.size()) return false;
  for (std::size_t i = 0; i < kWord.size(); ++i) {
    char c = line[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != kWord[i]) return false;
  }
  return line.size() == kWord.size() || line[kWord.size()] == ' ';
}

// True when one of the lines of `lines` (CR LF separated) names PIPELINING.
bool AnnouncesPipelining(std::string_view lines) {
  while (!lines.empty()) {
    const std::size_t end = lines.find("\r\n");
    if (IsPipeliningLine(lines.substr(0, end))) return true;
    if (end == std::string_view::npos) break;
    lines.remove_prefix(end + 2);
  }
  return false;
}

}  // namespace

PopHeaderSource::Fill PopHeaderSource::Receive() {
  if (!WaitReadable(session_)) return Fill::kFailed;
  const std::size_t kept = in_.size();
  try {
    in_.resize(kept + kReceiveSize);
  } catch (const std::bad_alloc&) {
    session_.Fail(pop3_text::kOutOfMemory, pop3_text::kErrMemory);
    session_.Close();
    return Fill::kFailed;
  }
  long got = session_.Sockets().Receive(session_.Socket(), in_.data() + kept, kReceiveSize);
  if (got < 0) got = 0;
  if (static_cast<std::size_t>(got) > kReceiveSize) got = static_cast<long>(kReceiveSize);
  in_.resize(kept + static_cast<std::size_t>(got));
  return got == 0 ? Fill::kClosed : Fill::kData;
}

bool PopHeaderSource::ReadStatusLine(std::size_t& end) {
  for (;;) {
    const std::size_t line_end = in_.find("\r\n", read_);
    if (line_end != std::string::npos && line_end - read_ < kChunk) {
      end = line_end + 2;
      return true;
    }
    // A line longer than one receive: its first part, as one receive would give it.
    if (in_.size() - read_ >= kChunk) {
      end = read_ + kChunk;
      return true;
    }
    switch (Receive()) {
      case Fill::kData:
        break;
      case Fill::kFailed:
        return false;
      case Fill::kClosed:
        if (in_.size() > read_) {
          end = in_.size();
          return true;
        }
        session_.Fail(pop3_text::kReceiveFailed, pop3_text::kErrReceive);
        session_.Close();
        return false;
    }
  }
}

void PopHeaderSource::Consume(std::size_t end) {
  read_ = end;
  if (read_ >= in_.size()) {
    in_.clear();
    read_ = 0;
  } else if (read_ >= 4 * kChunk) {
    in_.erase(0, read_);
    read_ = 0;
  }
}

bool PopHeaderSource::AskCapabilities() {
  if (!pop3_io::SendCommand(session_, "CAPA\r\n")) return false;
  std::size_t line_end = 0;
  if (!ReadStatusLine(line_end)) return false;
  if (!BeginsWithOk(std::string_view(in_).substr(read_, line_end - read_))) {
    // Refused: the server does not know CAPA; nothing more follows.
    in_.clear();
    read_ = 0;
    mode_ = PopHeaderMode::kSequential;
    return true;
  }
  std::size_t from = line_end >= 2 ? line_end - 2 : line_end;  // an empty list ends right after the status line
  for (;;) {
    const std::size_t found = in_.find(kEndLine, from);
    if (found != std::string::npos) {
      const bool pipelining = AnnouncesPipelining(std::string_view(in_).substr(line_end, found + 2 - line_end));
      mode_ = pipelining ? PopHeaderMode::kPipelined : PopHeaderMode::kSequential;
      in_.clear();
      read_ = 0;
      return true;
    }
    if (in_.size() - read_ >= kCapabilityLimit) break;
    if (in_.size() >= kEndLine.size()) from = std::max(from, in_.size() - kEndLine.size() + 1);
    const Fill fill = Receive();
    if (fill == Fill::kFailed) return false;
    if (fill == Fill::kClosed) break;
  }
  session_.Fail(pop3_text::kReceiveFailed, pop3_text::kErrReceive);
  session_.Close();
  return false;
}

bool PopHeaderSource::SendAhead(int number) {
  // Topped up in half-windows: fewer, larger sends.
  if (next_to_send_ > count_ || next_to_send_ - number >= kPopPipelineWindow / 2) return true;
  const long long last = std::min<long long>(count_, static_cast<long long>(number) + kPopPipelineWindow - 1);
  std::string batch;
  for (; next_to_send_ <= last; ++next_to_send_) {
    char line[64];
    std::snprintf(line, sizeof line, "TOP %lld 0\r\nLIST %lld\r\n", next_to_send_, next_to_send_);
    batch += line;
  }
  return pop3_io::SendCommand(session_, batch);
}

int PopHeaderSource::FetchPipelined(int number, std::string& header) {
  if (broken_ || number != next_to_read_ || !session_.IsOpen() || !SendAhead(number)) {
    broken_ = true;
    return -1;
  }
  broken_ = true;  // until this message's answers are read whole
  std::size_t line_end = 0;
  if (!ReadStatusLine(line_end)) return -1;
  const std::string_view first = std::string_view(in_).substr(read_, line_end - read_);
  if (!ExpectOk(session_, first)) return -1;
  // The stated size only sizes the buffer: the answer is read to its end line.
  const std::int32_t stated = pop3_io::ClampSize(ParseAnswerNumber(AnswerField(AnswerText(first), 2)).value);
  try {
    header.reserve(static_cast<std::size_t>(stated) + pop3_io::kShortAnswer);
  } catch (const std::bad_alloc&) {
    session_.Fail(pop3_text::kOutOfMemory, pop3_text::kErrMemory);
    return -1;
  }
  std::size_t from = line_end >= 2 ? line_end - 2 : line_end;  // the end line may follow the status line
  std::size_t stop = 0;
  for (;;) {
    const std::size_t found = in_.find(kEndLine, from);
    const std::size_t length = (found == std::string::npos ? in_.size() : found + kEndLine.size()) - read_;
    if (length > pop3_io::kHeaderTextLimit ||
        (found == std::string::npos && length == pop3_io::kHeaderTextLimit)) {
      // More than any header can be: the connection cannot be brought back in step.
      session_.Fail(pop3_text::kReceiveFailed, pop3_text::kErrReceive);
      session_.Close();
      return -1;
    }
    if (found != std::string::npos) {
      stop = found + kEndLine.size();
      break;
    }
    if (!session_.Host().MailWindowExists()) return -1;
    if (in_.size() >= kEndLine.size()) from = std::max(from, in_.size() - kEndLine.size() + 1);
    const Fill fill = Receive();
    if (fill == Fill::kFailed) return -1;
    if (fill == Fill::kClosed) {
      // Cut off before its terminating line: never taken for a whole header.
      session_.Fail(pop3_text::kReceiveFailed, pop3_text::kErrReceive);
      session_.Close();
      return -1;
    }
  }
  try {
    header.assign(in_, read_, stop - read_);
  } catch (const std::bad_alloc&) {
    header.clear();
    session_.Fail(pop3_text::kOutOfMemory, pop3_text::kErrMemory);
    return -1;
  }
  Consume(stop);
  if (header.size() < 32) {
    header.clear();
    return -1;
  }
  if (!ReadStatusLine(line_end)) return -1;
  const std::string_view listed = std::string_view(in_).substr(read_, line_end - read_);
  const bool ok = ExpectOk(session_, listed);
  const AnswerNumber size = ParseAnswerNumber(AnswerField(AnswerText(listed), 3));
  Consume(line_end);
  if (!ok) return -1;
  broken_ = false;
  ++next_to_read_;
  return size.value < 0 ? 0 : size.value;
}

int PopHeaderSource::Fetch(int number, std::string& header) {
  header.clear();
  if (mode_ == PopHeaderMode::kNotAsked) {
    // A failed CAPA has closed the connection: the fetch below then gives -1.
    if (!allowed_ || !AskCapabilities()) mode_ = PopHeaderMode::kSequential;
  }
  if (mode_ == PopHeaderMode::kSequential) return PopFetchHeader(session_, number, header);
  return FetchPipelined(number, header);
}

}  // namespace vsmr
