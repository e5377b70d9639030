// The few socket operations the POP3 client needs, behind an interface so the
// client runs over Winsock, BSD sockets, or a scripted fake in tests and fuzzing.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vsmr {

// A connected or opened socket as the implementation numbers it; kNoSocket is none.
using SocketHandle = std::intptr_t;
inline constexpr SocketHandle kNoSocket = -1;

enum class WaitOutcome {
  kReady,        // the socket is readable (or writable)
  kTimeout,      // nothing happened within the time-out
  kError,        // the wait itself failed
  kNotInSet,     // the wait returned without reporting this socket
};

enum class ResolveOutcome { kFound, kNotFound };

class SocketApi {
 public:
  virtual ~SocketApi() = default;

  // Starts the network layer (Winsock 1.1); false when it cannot start. Each
  // successful call is balanced by exactly one Cleanup().
  virtual bool Startup() = 0;
  virtual void Cleanup() = 0;

  // The first IPv4 address of `host` (NUL-terminated), in network byte order.
  virtual ResolveOutcome Resolve(const char* host, std::uint32_t* address) = 0;

  // A new TCP stream socket, or kNoSocket.
  virtual SocketHandle Open() = 0;

  // Connects `socket` to `address` (network order) and `port` (host order).
  // Waits at most `timeout_seconds` (at least one second) for the peer.
  virtual bool Connect(SocketHandle socket, std::uint32_t address, std::uint16_t port,
                       int timeout_seconds) = 0;

  // Waits up to `timeout_seconds` (0 = poll) for the socket to become readable
  // or writable.
  virtual WaitOutcome WaitReadable(SocketHandle socket, int timeout_seconds) = 0;
  virtual WaitOutcome WaitWritable(SocketHandle socket, int timeout_seconds) = 0;

  // As WaitReadable, to the millisecond: TLS waits for a whole record within
  // what is left of one time-out. Rounded up to seconds where not overridden.
  virtual WaitOutcome WaitReadableMs(SocketHandle socket, int milliseconds) {
    return WaitReadable(socket, milliseconds <= 0 ? 0 : (milliseconds + 999) / 1000);
  }

  // Sends all `length` bytes; false when the connection failed on the way.
  virtual bool Send(SocketHandle socket, const char* data, std::size_t length) = 0;

  // One receive of at most `capacity` bytes: the count received, 0 when the
  // peer closed, negative on error.
  virtual long Receive(SocketHandle socket, char* buffer, std::size_t capacity) = 0;

  virtual void Close(SocketHandle socket) = 0;
};

// The platform's own sockets (Winsock on Windows, BSD sockets elsewhere).
SocketApi& SystemSockets();

}  // namespace vsmr
