// The scripted loopback POP3 server's sockets (BSD sockets).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <ctime>

#include "support/fake_pop_server.h"

namespace vsmr::testing {

namespace {

sockaddr_in Loopback() {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

}  // namespace

double MonotonicSeconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void FakePopServer::Listen() {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback();
  ::bind(static_cast<int>(listener_), reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::listen(static_cast<int>(listener_), 1);
  socklen_t length = sizeof address;
  ::getsockname(static_cast<int>(listener_), reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
}

void FakePopServer::Release() {
  if (peer_ >= 0) ::close(static_cast<int>(peer_));
  ::close(static_cast<int>(listener_));
}

std::uint16_t FakePopServer::UnusedPort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback();
  ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(s);  // bound but never listening: connects are refused
  return ntohs(address.sin_port);
}

bool FakePopServer::WaitFor(Readiness what, int milliseconds) {
  const double end = MonotonicSeconds() + milliseconds / 1000.0;
  const short events = what == Readiness::kWritable ? POLLOUT : POLLIN;
  while (!stop_) {
    pollfd entry{static_cast<int>(peer_ >= 0 ? peer_ : listener_), events, 0};
    if (::poll(&entry, 1, 20) > 0) return true;
    if (MonotonicSeconds() >= end) return false;
  }
  return false;
}

bool FakePopServer::AcceptPeer() {
  peer_ = ::accept(static_cast<int>(listener_), nullptr, nullptr);
  return peer_ >= 0;
}

long FakePopServer::RawSend(const char* data, std::size_t length) {
  return static_cast<long>(::send(static_cast<int>(peer_), data, length, MSG_NOSIGNAL));
}

long FakePopServer::RawReceive(char* buffer, std::size_t capacity) {
  return static_cast<long>(::recv(static_cast<int>(peer_), buffer, capacity, 0));
}

void FakePopServer::Nap() { ::poll(nullptr, 0, 10); }

void FakePopServer::ShutdownPeer() { ::shutdown(static_cast<int>(peer_), SHUT_RDWR); }

}  // namespace vsmr::testing
