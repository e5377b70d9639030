// A scripted, possibly hostile POP3 server on a loopback port, run by a thread
// of the test process: it accepts one connection and plays its script.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vsmr::testing {

struct ServerAction {
  enum Kind { kSend, kExpect, kSleep, kDrip, kFlood, kClose } kind;
  std::string text;       // kSend, kDrip: bytes; kExpect: the command's first word
  int milliseconds = 0;   // kSleep; kDrip: pause before each byte
  std::size_t bytes = 0;  // kFlood: how many bytes of `text` repeated
};

inline ServerAction Send(std::string text) { return {ServerAction::kSend, std::move(text)}; }
inline ServerAction Expect(std::string word) { return {ServerAction::kExpect, std::move(word)}; }
inline ServerAction Sleep(int ms) { return {ServerAction::kSleep, {}, ms}; }
inline ServerAction Drip(std::string text, int ms) { return {ServerAction::kDrip, std::move(text), ms}; }
inline ServerAction Flood(std::size_t bytes, std::string pattern) {
  return {ServerAction::kFlood, std::move(pattern), 0, bytes};
}
inline ServerAction CloseConnection() { return {ServerAction::kClose, {}, 0, 0}; }

class FakePopServer {
 public:
  explicit FakePopServer(std::vector<ServerAction> script);
  ~FakePopServer();
  FakePopServer(const FakePopServer&) = delete;
  FakePopServer& operator=(const FakePopServer&) = delete;

  std::uint16_t Port() const { return port_; }
  // Waits for the script to end and the client to close the connection.
  void WaitUntilDone() {
    if (thread_.joinable()) thread_.join();
  }
  // The command lines received so far (without CR LF).
  std::vector<std::string> Commands() const;
  // Script steps whose expected command did not come.
  std::vector<std::string> Mismatches() const;

  // A loopback port on which nothing listens.
  static std::uint16_t UnusedPort();

 private:
  enum class Readiness { kReadable, kWritable, kClosed };
  // Script playing (fake_pop_server.cpp).
  void Run();
  bool ReadLine(std::string& line, int milliseconds);
  bool SendAll(const char* data, std::size_t length);
  void Pause(int milliseconds);
  // Platform sockets (fake_pop_server_posix.cpp / _win.cpp).
  void Listen();
  void Release();
  bool WaitFor(Readiness what, int milliseconds);  // in slices, ends early on stop_
  bool AcceptPeer();
  long RawSend(const char* data, std::size_t length);
  long RawReceive(char* buffer, std::size_t capacity);
  void ShutdownPeer();
  static void Nap();  // about 10 ms

  std::vector<ServerAction> script_;
  std::intptr_t listener_ = -1;
  std::intptr_t peer_ = -1;
  std::uint16_t port_ = 0;
  std::string pending_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> commands_;
  std::vector<std::string> mismatches_;
  std::thread thread_;
};

// Seconds on a monotonic clock, for timing scenarios.
double MonotonicSeconds();

}  // namespace vsmr::testing
