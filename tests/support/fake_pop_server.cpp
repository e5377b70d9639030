// The scripted loopback POP3 server's script player; the sockets themselves
// are in fake_pop_server_posix.cpp and fake_pop_server_win.cpp.
#include "support/fake_pop_server.h"

namespace vsmr::testing {

FakePopServer::FakePopServer(std::vector<ServerAction> script) : script_(std::move(script)) {
  Listen();
  thread_ = std::thread([this] { Run(); });
}

FakePopServer::~FakePopServer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  Release();
}

std::vector<std::string> FakePopServer::Commands() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return commands_;
}

std::vector<std::string> FakePopServer::Mismatches() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return mismatches_;
}

void FakePopServer::Pause(int milliseconds) {
  const double end = MonotonicSeconds() + milliseconds / 1000.0;
  while (!stop_ && MonotonicSeconds() < end) {
    Nap();  // short slices, so that a stop request is seen quickly
  }
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
    if (!WaitFor(Readiness::kReadable, milliseconds)) return false;
    char buffer[4096];
    const long got = RawReceive(buffer, sizeof buffer);
    if (got <= 0) return false;
    pending_.append(buffer, static_cast<std::size_t>(got));
  }
}

bool FakePopServer::SendAll(const char* data, std::size_t length) {
  while (length > 0) {
    if (!WaitFor(Readiness::kWritable, 15000)) return false;
    const long sent = RawSend(data, length);
    if (sent <= 0) return false;
    data += sent;
    length -= static_cast<std::size_t>(sent);
  }
  return true;
}

void FakePopServer::Run() {
  if (!WaitFor(Readiness::kReadable, 15000) || !AcceptPeer()) return;
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
        Pause(action.milliseconds);
        break;
      case ServerAction::kDrip:
        for (char c : action.text) {
          Pause(action.milliseconds);
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
        ShutdownPeer();
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
