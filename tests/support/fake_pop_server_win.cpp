// The scripted loopback POP3 server's sockets (Winsock).
#include <winsock2.h>

#include "support/fake_pop_server.h"

namespace vsmr::testing {

namespace {

sockaddr_in Loopback() {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

SOCKET Native(std::intptr_t s) { return static_cast<SOCKET>(s); }

}  // namespace

double MonotonicSeconds() { return static_cast<double>(::GetTickCount64()) / 1000.0; }

void FakePopServer::Listen() {
  WSADATA data;
  ::WSAStartup(MAKEWORD(2, 2), &data);
  listener_ = static_cast<std::intptr_t>(::socket(AF_INET, SOCK_STREAM, 0));
  sockaddr_in address = Loopback();
  ::bind(Native(listener_), reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::listen(Native(listener_), 1);
  int length = sizeof address;
  ::getsockname(Native(listener_), reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
}

void FakePopServer::Release() {
  if (peer_ != -1) ::closesocket(Native(peer_));
  ::closesocket(Native(listener_));
  ::WSACleanup();
}

std::uint16_t FakePopServer::UnusedPort() {
  WSADATA data;
  ::WSAStartup(MAKEWORD(2, 2), &data);
  const SOCKET s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback();
  ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int length = sizeof address;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  ::closesocket(s);  // bound but never listening: connects are refused
  ::WSACleanup();
  return ntohs(address.sin_port);
}

bool FakePopServer::WaitFor(Readiness what, int milliseconds) {
  const double end = MonotonicSeconds() + milliseconds / 1000.0;
  const SOCKET s = Native(peer_ != -1 ? peer_ : listener_);
  while (!stop_) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    fd_set errors;
    FD_ZERO(&errors);
    FD_SET(s, &errors);
    timeval slice{0, 20000};
    const bool write = what == Readiness::kWritable;
    if (::select(0, write ? nullptr : &set, write ? &set : nullptr, &errors, &slice) > 0) return true;
    if (MonotonicSeconds() >= end) return false;
  }
  return false;
}

bool FakePopServer::AcceptPeer() {
  const SOCKET s = ::accept(Native(listener_), nullptr, nullptr);
  if (s == INVALID_SOCKET) return false;
  peer_ = static_cast<std::intptr_t>(s);
  return true;
}

long FakePopServer::RawSend(const char* data, std::size_t length) {
  const int part = length > 65536 ? 65536 : static_cast<int>(length);
  return ::send(Native(peer_), data, part, 0);
}

long FakePopServer::RawReceive(char* buffer, std::size_t capacity) {
  return ::recv(Native(peer_), buffer, static_cast<int>(capacity), 0);
}

void FakePopServer::Nap() { ::Sleep(10); }

void FakePopServer::ShutdownPeer() { ::shutdown(Native(peer_), SD_BOTH); }

}  // namespace vsmr::testing
