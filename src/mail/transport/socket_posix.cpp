// BSD sockets behind SocketApi: IPv4 name lookup, a connect bounded by the
// time-out, poll() for readiness, sends that never raise SIGPIPE.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "mail/transport/socket.h"

namespace vsmr {

namespace {

int Millis(int seconds) { return seconds > 2000000 ? 2000000000 : seconds * 1000; }

WaitOutcome WaitFor(SocketHandle socket, short events, int timeout_seconds) {
  pollfd entry{};
  entry.fd = static_cast<int>(socket);
  entry.events = events;
  int result;
  do {
    result = ::poll(&entry, 1, Millis(timeout_seconds));
  } while (result < 0 && errno == EINTR);
  if (result < 0) return WaitOutcome::kError;
  if (result == 0) return WaitOutcome::kTimeout;
  // A peer that closed or reset counts as readable: the receive then tells.
  if (entry.revents & (events | POLLHUP | POLLERR)) return WaitOutcome::kReady;
  return WaitOutcome::kNotInSet;
}

class PosixSockets final : public SocketApi {
 public:
  bool Startup() override { return true; }
  void Cleanup() override {}

  ResolveOutcome Resolve(const char* host, std::uint32_t* address) override {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host, nullptr, &hints, &found) != 0 || found == nullptr) {
      return ResolveOutcome::kNotFound;
    }
    *address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    ::freeaddrinfo(found);
    return ResolveOutcome::kFound;
  }

  SocketHandle Open() override {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    return fd < 0 ? kNoSocket : fd;
  }

  bool Connect(SocketHandle socket, std::uint32_t address, std::uint16_t port,
               int timeout_seconds) override {
    const int fd = static_cast<int>(socket);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr.s_addr = address;
    const int flags = ::fcntl(fd, F_GETFL);
    ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    int result = ::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer);
    if (result < 0 && errno == EINPROGRESS) {
      if (WaitFor(socket, POLLOUT, timeout_seconds) == WaitOutcome::kReady) {
        int error = 0;
        socklen_t length = sizeof error;
        result = (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) ? 0 : -1;
      }
    }
    ::fcntl(fd, F_SETFL, flags);
    return result == 0;
  }

  WaitOutcome WaitReadable(SocketHandle socket, int timeout_seconds) override {
    return WaitFor(socket, POLLIN, timeout_seconds);
  }
  WaitOutcome WaitWritable(SocketHandle socket, int timeout_seconds) override {
    return WaitFor(socket, POLLOUT, timeout_seconds);
  }

  bool Send(SocketHandle socket, const char* data, std::size_t length) override {
    while (length > 0) {
      const ssize_t sent = ::send(static_cast<int>(socket), data, length, MSG_NOSIGNAL);
      if (sent < 0 && errno == EINTR) continue;
      if (sent <= 0) return false;
      data += sent;
      length -= static_cast<std::size_t>(sent);
    }
    return true;
  }

  long Receive(SocketHandle socket, char* buffer, std::size_t capacity) override {
    ssize_t got;
    do {
      got = ::recv(static_cast<int>(socket), buffer, capacity, 0);
    } while (got < 0 && errno == EINTR);
    return static_cast<long>(got);
  }

  void Close(SocketHandle socket) override { ::close(static_cast<int>(socket)); }
};

}  // namespace

SocketApi& SystemSockets() {
  static PosixSockets sockets;
  return sockets;
}

}  // namespace vsmr
