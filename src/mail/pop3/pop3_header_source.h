// The headers of a mailbox's messages in order, for a mail check: when the
// server announces PIPELINING, the TOP and LIST commands of the following
// messages go out ahead of the answers; otherwise one command at a time.
#pragma once
#include <cstddef>
#include <string>

#include "mail/pop3/pop3_session.h"

namespace vsmr {

// How many messages' TOP and LIST may be sent ahead of the answer being read:
// enough that the server always has work queued while answers are read, even
// when the reader falls behind for a moment (a window of 256 left the server
// idle now and then and made a 1,000-message pass some 3 ms slower). Some 25
// bytes of commands each, 12.5 KiB in all: below any socket buffer, so a send
// never waits on a server that is itself waiting for its answers to be read.
inline constexpr int kPopPipelineWindow = 512;

enum class PopHeaderMode {
  kNotAsked,    // no header fetched yet (nothing asked of the server)
  kSequential,  // no PIPELINING, CAPA refused, or pipelining not allowed
  kPipelined,
};

class PopHeaderSource {
 public:
  // `count` comes from PopStat. With `allow_pipelining` false the server's
  // capabilities are never asked and every fetch is a PopFetchHeader.
  PopHeaderSource(PopSession& session, int count, bool allow_pipelining = true)
      : session_(session), count_(count), allowed_(allow_pipelining) {}

  // Same contract as PopFetchHeader, for `number` 1, 2, ... count in order.
  // The first call asks CAPA. After a pipelined fetch gave -1 the answers are
  // out of step with the commands: every later call gives -1 as well.
  int Fetch(int number, std::string& header);

  PopHeaderMode Mode() const { return mode_; }

 private:
  enum class Fill { kData, kClosed, kFailed };
  // One receive appended to `in_` after a wait; kFailed: the wait failed
  // (reported, closed); kClosed: the peer closed or the receive failed.
  Fill Receive();
  // Until `in_` holds a whole line from `read_` (at most one receive's worth);
  // `end` is just past it. A peer that closes with nothing buffered is reported
  // as a receive failure; false when the connection failed.
  bool ReadStatusLine(std::size_t& end);
  // CAPA and its answer; false when the connection failed (reported).
  bool AskCapabilities();
  bool SendAhead(int number);
  int FetchPipelined(int number, std::string& header);
  void Consume(std::size_t end);

  PopSession& session_;
  int count_;
  bool allowed_;
  PopHeaderMode mode_ = PopHeaderMode::kNotAsked;
  bool broken_ = false;
  long long next_to_send_ = 1;
  long long next_to_read_ = 1;
  std::string in_;        // received and not yet consumed
  std::size_t read_ = 0;  // where the next answer begins in `in_`
};

}  // namespace vsmr
