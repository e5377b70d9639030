// The scripted loopback POP3 server (BSD sockets); see fake_pop_server.h.
#include "pop3/fake_pop_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <ctime>

namespace vsmr::testing {

namespace {

long long NowMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

}  // namespace

FakePopServer::FakePopServer(std::vector<ServerAction> script) : script_(std::move(script)) {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::listen(listener_, 1);
  socklen_t length = sizeof address;
  ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Run(); });
}

FakePopServer::~FakePopServer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (peer_ >= 0) ::close(peer_);
  ::close(listener_);
}

std::vector<std::string> FakePopServer::Commands() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return commands_;
}

std::vector<std::string> FakePopServer::Mismatches() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return mismatches_;
}

std::uint16_t FakePopServer::UnusedPort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(s);  // bound but never listening: connects are refused
  return ntohs(address.sin_port);
}

// Polls the peer (or the listener before a peer exists) in short slices so
// that the destructor's stop request is seen quickly.
bool FakePopServer::WaitFor(short events, int milliseconds) {
  const long long end = NowMs() + milliseconds;
  while (!stop_) {
    pollfd entry{peer_ >= 0 ? peer_ : listener_, events, 0};
    if (::poll(&entry, 1, 20) > 0) return true;
    if (NowMs() >= end) return false;
  }
  return false;
}

bool FakePopServer::ReadLine(std::string& line, int milliseconds) {
  for (;;) {
    const std::size_t end = pending_.find("\r\n");
    if (end != std::string::npos) {
      line = pending_.substr(0, end);
      pending_.erase(0, end + 2);
      std::lock_guard<std::mutex> lock(mutex_);
      commands_.push_back(line);
      return true;
    }
    if (!WaitFor(POLLIN, milliseconds)) return false;
    char buffer[4096];
    const ssize_t got = ::recv(peer_, buffer, sizeof buffer, 0);
    if (got <= 0) return false;
    pending_.append(buffer, static_cast<std::size_t>(got));
  }
}

bool FakePopServer::SendAll(const char* data, std::size_t length) {
  while (length > 0) {
    if (!WaitFor(POLLOUT, 15000)) return false;
    const ssize_t sent = ::send(peer_, data, length, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    data += sent;
    length -= static_cast<std::size_t>(sent);
  }
  return true;
}

void FakePopServer::Run() {
  if (!WaitFor(POLLIN, 15000)) return;
  peer_ = ::accept(listener_, nullptr, nullptr);
  if (peer_ < 0) return;
  bool alive = true;
  for (const ServerAction& action : script_) {
    if (!alive || stop_) break;
    switch (action.kind) {
      case ServerAction::kSend:
        alive = SendAll(action.text.data(), action.text.size());
        break;
      case ServerAction::kExpect: {
        std::string line;
        if (!ReadLine(line, 15000) || line.compare(0, action.text.size(), action.text) != 0) {
          std::lock_guard<std::mutex> lock(mutex_);
          mismatches_.push_back(action.text + " <- " + line);
          alive = false;
        }
        break;
      }
      case ServerAction::kSleep:
        WaitFor(0, action.milliseconds);
        break;
      case ServerAction::kDrip:
        for (char c : action.text) {
          WaitFor(0, action.milliseconds);
          if (!(alive = SendAll(&c, 1))) break;
        }
        break;
      case ServerAction::kFlood: {
        std::string block;
        while (block.size() < 65536) block += action.text;
        for (std::size_t left = action.bytes; alive && left > 0;) {
          const std::size_t n = left < block.size() ? left : block.size();
          alive = SendAll(block.data(), n);
          left -= n;
        }
        break;
      }
      case ServerAction::kClose:
        ::shutdown(peer_, SHUT_RDWR);
        alive = false;
        break;
    }
  }
  // Record whatever else the client says until it closes or the test ends;
  // a QUIT is answered.
  std::string line;
  while (alive && !stop_ && ReadLine(line, 15000)) {
    if (line == "QUIT") alive = SendAll("+OK bye\r\n", 9);
  }
}

}  // namespace vsmr::testing
