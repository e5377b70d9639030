// The POP3 commands of a mail job: STAT, LIST, TOP, RETR and DELE. Multi-line
// answers are read up to their terminating line, never past the size caps; an
// answer that ends without it is a failure, never taken for a whole one.
#include <algorithm>
#include <cstdio>
#include <new>

#include "mail/pop3/pop3_answer.h"
#include "mail/pop3/pop3_io.h"
#include "mail/pop3/pop3_session.h"
#include "mail/pop3/pop3_texts.h"

namespace vsmr {

namespace {

using pop3_io::ClampSize;
using pop3_io::kChunk;
using pop3_io::kHeaderTextLimit;

// Appends to the header text; false (reported) when memory runs out.
bool AppendHeader(PopSession& session, std::string& header, const char* data, std::size_t length) {
  try {
    header.append(data, length);
  } catch (const std::bad_alloc&) {
    header.clear();
    session.Fail(pop3_text::kOutOfMemory, pop3_text::kErrMemory);
    return false;
  }
  return true;
}

// A multi-line answer that ended before its terminating line: the peer
// closed, or sent more than the answer can be. Reported as a broken
// connection, and the connection is closed (it is out of step with the commands).
void FailCutAnswer(PopSession& session) {
  if (!session.IsOpen()) return;  // a failed wait has reported and closed
  session.Fail(pop3_text::kReceiveFailed, pop3_text::kErrReceive);
  session.Close();
}

// Reads the rest of a TOP answer into `header` up to its terminating line.
// False when the answer could not be read whole (reported, header emptied).
bool ReadHeaderBody(PopSession& session, std::string& header) {
  char chunk[pop3_io::kFollowUpChunk + 1];
  while (!EndsMultiLineAnswer(header)) {
    if (!session.Host().MailWindowExists()) {
      // Nothing will show it; the rest of the answer is never read.
      session.Close();
      header.clear();
      return false;
    }
    if (header.size() >= kHeaderTextLimit) {
      // The server sends more than any header can be; the connection cannot be
      // brought back in step with the commands.
      session.Fail(pop3_text::kReceiveFailed, pop3_text::kErrReceive);
      session.Close();
      header.clear();
      return false;
    }
    if (!WaitReadable(session)) {
      header.clear();
      return false;
    }
    const std::size_t room = kHeaderTextLimit - header.size();
    const std::size_t limit = room < sizeof chunk - 1 ? room : sizeof chunk - 1;
    const long got = session.Sockets().Receive(session.Socket(), chunk, limit);
    if (got <= 0) {
      FailCutAnswer(session);
      header.clear();
      return false;
    }
    if (!AppendHeader(session, header, chunk, static_cast<std::size_t>(got))) return false;
  }
  return true;
}

// Appends up to the buffer's last byte (which stays zero).
void AppendMessage(MessageText& text, const char* data, std::size_t length) {
  const std::size_t room = text.bytes.size() - 1 - text.length;
  if (length > room) length = room;
  std::copy(data, data + length, text.bytes.begin() + static_cast<std::ptrdiff_t>(text.length));
  text.length += length;
  text.bytes[text.length] = '\0';
}

void ShowProgress(PopSession& session, long long total, long long target) {
  int percent = target > 0 ? static_cast<int>(static_cast<double>(total) * 100.0 / static_cast<double>(target)) : 100;
  if (percent > 100) percent = 100;
  char status[64];
  std::snprintf(status, sizeof status, pop3_text::kProgressFormat, percent);
  session.Host().ShowStatus(status);
}

}  // namespace

int PopStat(PopSession& session) {
  char answer[pop3_io::kStatAnswer + 1];
  if (!pop3_io::Exchange(session, "STAT\r\n", answer, pop3_io::kStatAnswer)) return -1;
  const AnswerNumber count = ParseAnswerNumber(AnswerField(AnswerText(answer), 2));
  if (count.value < 0) {
    session.Fail(AnswerText(answer), pop3_text::kErrAnswer);
    return -1;
  }
  return count.value;
}

int PopListForDownload(PopSession& session, int number) {
  session.NoteDownloadCut(false);
  char line[pop3_io::kShortAnswer];
  std::snprintf(line, sizeof line, "LIST %d\r\n", number);
  char answer[pop3_io::kShortAnswer + 1];
  if (!pop3_io::Exchange(session, line, answer, pop3_io::kShortAnswer)) return 0;
  const AnswerNumber listed = ParseAnswerNumber(AnswerField(AnswerText(answer), 3));
  if (!listed.has_digits || listed.value < 0) {
    // A size that is no size: nothing sensible can be downloaded.
    session.Fail(AnswerText(answer), pop3_text::kErrAnswer);
    return 0;
  }
  int size = listed.value > kPopMaxMessageSize ? kPopMaxMessageSize : listed.value;
  const int limit = session.Settings().limit_mail_size;
  if (size > limit &&
      session.Host().AskPartialDownload(pop3_text::kPartialDownload, pop3_text::kPartialDownloadCaption)) {
    size = limit < 0 ? 0 : limit;
  }
  session.NoteDownloadCut(size < listed.value);
  return size;
}

int PopFetchHeader(PopSession& session, int number, std::string& header) {
  header.clear();
  char line[pop3_io::kShortAnswer];
  std::snprintf(line, sizeof line, "TOP %d 0\r\n", number);
  char chunk[kChunk + 1];
  if (!pop3_io::SendCommand(session, line)) return -1;
  const long got = pop3_io::ReceiveOnce(session, chunk, kChunk);
  if (got < 0) return -1;
  if (got == 0) {
    session.Fail(pop3_text::kReceiveFailed, pop3_text::kErrReceive);
    session.Close();
    return -1;
  }
  const std::string_view first(chunk, static_cast<std::size_t>(got));
  if (!ExpectOk(session, first)) return -1;
  // The stated size only sizes the buffer: the answer is read to its end line.
  const std::int32_t stated = ClampSize(ParseAnswerNumber(AnswerField(AnswerText(first), 2)).value);
  try {
    header.reserve(static_cast<std::size_t>(stated) + pop3_io::kShortAnswer);
  } catch (const std::bad_alloc&) {
    session.Fail(pop3_text::kOutOfMemory, pop3_text::kErrMemory);
    return -1;
  }
  if (!AppendHeader(session, header, first.data(), first.size())) return -1;
  if (!ReadHeaderBody(session, header)) return -1;
  if (header.size() < 32) {
    header.clear();
    return -1;
  }
  std::snprintf(line, sizeof line, "LIST %d\r\n", number);
  if (!pop3_io::Exchange(session, line, chunk, kChunk)) return -1;
  const AnswerNumber size = ParseAnswerNumber(AnswerField(AnswerText(chunk), 3));
  return size.value < 0 ? 0 : size.value;
}

bool PopRetrieve(PopSession& session, MessageText& text, int number, int expected_size) {
  text.length = 0;
  if (text.bytes.empty()) return false;
  char line[pop3_io::kShortAnswer];
  std::snprintf(line, sizeof line, "RETR %d\r\n", number);
  char chunk[kChunk + 1];
  if (!pop3_io::SendCommand(session, line)) return false;
  const long got = pop3_io::ReceiveOnce(session, chunk, kChunk);
  if (got < 0) return false;
  if (got == 0) {
    session.Fail(pop3_text::kReceiveFailed, pop3_text::kErrReceive);
    session.Close();
    return false;
  }
  const std::string_view first(chunk, static_cast<std::size_t>(got));
  if (!ExpectOk(session, first)) return false;
  const std::size_t line_end = first.find("\r\n");
  const long long first_line = static_cast<long long>(line_end == std::string_view::npos ? first.size() : line_end);
  const long long target = ClampSize(expected_size) + first_line + 2;
  // A cut download stops near the chosen size and leaves the rest unread
  // until QUIT; a whole one reads to the terminating line (within the buffer).
  const bool cut = session.DownloadCut();
  long long total = got;
  AppendMessage(text, chunk, first.size());
  std::size_t limit = kChunk;
  while (!EndsMultiLineAnswer(text.View())) {
    if (cut && total > target) return true;
    if (!session.Host().MailWindowExists()) {
      // Nothing will show it; the rest of the answer is never read.
      session.Close();
      return false;
    }
    const std::size_t room = text.bytes.size() - 1 - text.length;
    if (room == 0) {
      FailCutAnswer(session);
      return false;
    }
    ShowProgress(session, total, target);
    if (cut && target - total < static_cast<long long>(limit)) {
      limit = static_cast<std::size_t>(target - total + 16);
    }
    if (!WaitReadable(session)) return false;
    std::size_t want = limit < room ? limit : room;
    if (want > kChunk) want = kChunk;
    const long received = session.Sockets().Receive(session.Socket(), chunk, want);
    if (received <= 0) {
      FailCutAnswer(session);
      return false;
    }
    AppendMessage(text, chunk, static_cast<std::size_t>(received));
    total += received;
  }
  return true;
}

bool PopUidl(PopSession& session, int number, std::string& uid) {
  uid.clear();
  char line[pop3_io::kShortAnswer];
  std::snprintf(line, sizeof line, "UIDL %d\r\n", number);
  if (!pop3_io::SendCommand(session, line)) return false;
  char answer[pop3_io::kShortAnswer + 1];
  const long got = pop3_io::ReceiveOnce(session, answer, pop3_io::kShortAnswer);
  if (got < 0) return false;
  if (got == 0) {
    session.Fail(pop3_text::kReceiveFailed, pop3_text::kErrReceive);
    session.Close();
    return false;
  }
  const std::string_view text = AnswerText(std::string_view(answer, static_cast<std::size_t>(got)));
  if (!BeginsWithOk(text)) return true;
  std::string_view id = AnswerField(text, 3);
  id = id.substr(0, id.find_first_of("\r\n"));
  uid.assign(id);
  return true;
}

bool PopDelete(PopSession& session, int number) {
  char line[pop3_io::kShortAnswer];
  std::snprintf(line, sizeof line, "DELE %d\r\n", number);
  char answer[pop3_io::kShortAnswer + 1];
  return pop3_io::Exchange(session, line, answer, pop3_io::kShortAnswer);
}

}  // namespace vsmr
