// Winsock behind SocketApi: version 1.1 start-up, gethostbyname, a connect
// bounded by the time-out, select() for readiness.
#include <winsock2.h>

#include "mail/transport/socket.h"

namespace vsmr {

namespace {

SOCKET Native(SocketHandle socket) { return static_cast<SOCKET>(socket); }

long Millis(int seconds) { return seconds > 2000000 ? 2000000000L : seconds * 1000L; }

// select() on one socket in the read, write (and error) set.
WaitOutcome WaitFor(SocketHandle socket, bool write, long timeout_ms, bool watch_errors) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(Native(socket), &set);
  fd_set errors;
  FD_ZERO(&errors);
  if (watch_errors) FD_SET(Native(socket), &errors);
  timeval limit{};
  limit.tv_sec = timeout_ms / 1000;
  limit.tv_usec = (timeout_ms % 1000) * 1000;
  const int result = ::select(0, write ? nullptr : &set, write ? &set : nullptr,
                              watch_errors ? &errors : nullptr, &limit);
  if (result == SOCKET_ERROR) return WaitOutcome::kError;
  if (result == 0) return WaitOutcome::kTimeout;
  if (FD_ISSET(Native(socket), &set)) return WaitOutcome::kReady;
  if (watch_errors && FD_ISSET(Native(socket), &errors)) return WaitOutcome::kError;
  return WaitOutcome::kNotInSet;
}

class WinSockets final : public SocketApi {
 public:
  bool Startup() override {
    WSADATA data;
    return ::WSAStartup(MAKEWORD(1, 1), &data) == 0;
  }
  void Cleanup() override { ::WSACleanup(); }

  ResolveOutcome Resolve(const char* host, std::uint32_t* address) override {
    const hostent* entry = ::gethostbyname(host);
    if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_addr_list == nullptr ||
        entry->h_addr_list[0] == nullptr) {
      return ResolveOutcome::kNotFound;
    }
    u_long first;
    memcpy(&first, entry->h_addr_list[0], sizeof first);
    *address = static_cast<std::uint32_t>(first);
    return ResolveOutcome::kFound;
  }

  SocketHandle Open() override {
    const SOCKET s = ::socket(AF_INET, SOCK_STREAM, 0);
    return s == INVALID_SOCKET ? kNoSocket : static_cast<SocketHandle>(s);
  }

  bool Connect(SocketHandle socket, std::uint32_t address, std::uint16_t port,
               int timeout_seconds) override {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr.s_addr = address;
    u_long nonblocking = 1;
    ::ioctlsocket(Native(socket), FIONBIO, &nonblocking);
    int result = ::connect(Native(socket), reinterpret_cast<sockaddr*>(&peer), sizeof peer);
    if (result == SOCKET_ERROR && ::WSAGetLastError() == WSAEWOULDBLOCK) {
      result = WaitFor(socket, true, Millis(timeout_seconds), true) == WaitOutcome::kReady ? 0 : SOCKET_ERROR;
    }
    nonblocking = 0;
    ::ioctlsocket(Native(socket), FIONBIO, &nonblocking);
    return result == 0;
  }

  WaitOutcome WaitReadable(SocketHandle socket, int timeout_seconds) override {
    return WaitFor(socket, false, Millis(timeout_seconds), false);
  }
  WaitOutcome WaitReadableMs(SocketHandle socket, int milliseconds) override {
    return WaitFor(socket, false, milliseconds < 0 ? 0 : milliseconds, false);
  }
  WaitOutcome WaitWritable(SocketHandle socket, int timeout_seconds) override {
    return WaitFor(socket, true, Millis(timeout_seconds), false);
  }

  bool Send(SocketHandle socket, const char* data, std::size_t length) override {
    while (length > 0) {
      const int part = length > 0x10000 ? 0x10000 : static_cast<int>(length);
      const int sent = ::send(Native(socket), data, part, 0);
      if (sent == SOCKET_ERROR || sent == 0) return false;
      data += sent;
      length -= static_cast<std::size_t>(sent);
    }
    return true;
  }

  long Receive(SocketHandle socket, char* buffer, std::size_t capacity) override {
    const int want = capacity > 0x7fffffff ? 0x7fffffff : static_cast<int>(capacity);
    return ::recv(Native(socket), buffer, want, 0);
  }

  void Close(SocketHandle socket) override { ::closesocket(Native(socket)); }
};

}  // namespace

SocketApi& SystemSockets() {
  static WinSockets sockets;
  return sockets;
}

}  // namespace vsmr
