// An in-memory SocketApi that plays a scripted server: received data comes in
// the given chunks (one receive never crosses a chunk), waits and platform
// steps can be made to fail, and everything the client does is recorded.
// Used by the unit tests and the fuzz target.
#pragma once
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <utility>

#include "mail/transport/socket.h"

namespace vsmr::testing {

class ScriptedSockets final : public SocketApi {
 public:
  // One step of the server's side, taken by waits and receives in order.
  struct Step {
    enum Kind { kData, kClose, kSilence, kWaitError, kNotInSet } kind = kData;
    std::string data;
  };

  // Script building.
  ScriptedSockets& Data(std::string bytes) { steps_.push_back({Step::kData, std::move(bytes)}); return *this; }
  ScriptedSockets& PeerCloses() { steps_.push_back({Step::kClose, {}}); return *this; }
  ScriptedSockets& Silence() { steps_.push_back({Step::kSilence, {}}); return *this; }
  ScriptedSockets& ReadWaitFails(Step::Kind how) { steps_.push_back({how, {}}); return *this; }

  // Platform failures and write-side wait outcomes.
  bool fail_startup = false;
  bool fail_resolve = false;
  bool fail_open = false;
  bool fail_connect = false;
  bool fail_send = false;
  // Write waits answer from this queue first (then kReady).
  std::deque<WaitOutcome> write_waits;

  // What happened.
  int startups = 0;
  int cleanups = 0;
  int opens = 0;
  int closes = 0;
  std::string sent;
  std::string resolved_host;
  int read_timeouts_seen = 0;
  std::uint16_t connected_port = 0;

  bool Startup() override {
    if (fail_startup) return false;
    ++startups;
    return true;
  }
  void Cleanup() override { ++cleanups; }
  ResolveOutcome Resolve(const char* host, std::uint32_t* address) override {
    resolved_host = host;
    *address = 0x0100007f;
    return fail_resolve ? ResolveOutcome::kNotFound : ResolveOutcome::kFound;
  }
  SocketHandle Open() override {
    if (fail_open) return kNoSocket;
    ++opens;
    open_ = true;
    return 7;
  }
  bool Connect(SocketHandle s, std::uint32_t, std::uint16_t port, int) override {
    Check(s);
    connected_port = port;
    return !fail_connect;
  }
  WaitOutcome WaitReadable(SocketHandle s, int) override {
    Check(s);
    if (steps_.empty()) {
      ++read_timeouts_seen;
      return WaitOutcome::kTimeout;
    }
    switch (steps_.front().kind) {
      case Step::kSilence:
        steps_.pop_front();
        ++read_timeouts_seen;
        return WaitOutcome::kTimeout;
      case Step::kWaitError:
        steps_.pop_front();
        return WaitOutcome::kError;
      case Step::kNotInSet:
        steps_.pop_front();
        return WaitOutcome::kNotInSet;
      default:
        return WaitOutcome::kReady;
    }
  }
  WaitOutcome WaitWritable(SocketHandle s, int) override {
    Check(s);
    if (write_waits.empty()) return WaitOutcome::kReady;
    const WaitOutcome outcome = write_waits.front();
    write_waits.pop_front();
    return outcome;
  }
  bool Send(SocketHandle s, const char* data, std::size_t length) override {
    Check(s);
    if (fail_send) return false;
    sent.append(data, length);
    return true;
  }
  long Receive(SocketHandle s, char* buffer, std::size_t capacity) override {
    Check(s);
    if (steps_.empty() || steps_.front().kind == Step::kClose) return 0;
    if (steps_.front().kind != Step::kData) return -1;
    std::string& chunk = steps_.front().data;
    const std::size_t n = chunk.size() < capacity ? chunk.size() : capacity;
    std::memcpy(buffer, chunk.data(), n);
    chunk.erase(0, n);
    if (chunk.empty()) steps_.pop_front();
    return static_cast<long>(n);
  }
  void Close(SocketHandle s) override {
    Check(s);
    open_ = false;
    ++closes;
  }

  // Whether the script was played to its end.
  std::size_t StepsLeft() const { return steps_.size(); }

 private:
  // Using a socket that was never opened or already closed is a client fault.
  void Check(SocketHandle s) const {
    if (s != 7 || !open_) std::abort();
  }

  std::deque<Step> steps_;
  bool open_ = false;
};

}  // namespace vsmr::testing
