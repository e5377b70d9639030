// Sending a command and taking one receive of its answer: the steps every
// POP3 operation shares (internal to the client).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "mail/pop3/pop3_session.h"

namespace vsmr::pop3_io {

// Receive limits of the short answers and of the data chunks.
inline constexpr std::size_t kShortAnswer = 1024;
inline constexpr std::size_t kStatAnswer = 1023;
inline constexpr std::size_t kChunk = 8192;
inline constexpr std::size_t kFollowUpChunk = 8160;

// The collected TOP answer never grows past this: a header block larger than
// the largest message is not a header.
inline constexpr std::size_t kHeaderTextLimit = kPopMaxMessageSize + kChunk;

// A size stated by the server, as the client takes it.
inline std::int32_t ClampSize(std::int32_t size) {
  if (size < 0) return 0;
  return size > kPopMaxMessageSize ? kPopMaxMessageSize : size;
}

// Waits writable and sends `line` whole. False: the connection is closed and
// the failure reported.
bool SendCommand(PopSession& session, std::string_view line);

// Waits readable and receives once, up to `limit` bytes, into `buffer` (which
// holds limit + 1 bytes); the text is NUL-terminated. Gives the number of bytes
// received, 0 when the peer closed or the receive failed (the connection stays
// open), or -1 when the wait failed (the connection is closed and reported).
long ReceiveOnce(PopSession& session, char* buffer, std::size_t limit);

// SendCommand, ReceiveOnce, ExpectOk. A peer that closed or a failed receive
// is reported as a receive failure and closes the connection.
bool Exchange(PopSession& session, std::string_view line, char* buffer, std::size_t limit);

}  // namespace vsmr::pop3_io
