// Times a check-style pass of our POP3 client: log in, STAT, then TOP and LIST
// for every message as the check reads them, QUIT. Prints one line per pass:
// seconds, messages, the way the headers were read and the security. SECURITY is the
// account's (0 clear text, 1 TLS from the first byte, 2 STLS) and SERVER the name
// connected to, which a certificate must match; with SECURITY2 and PORT2 every round
// makes a second pass that way, so that both see the machine as it is at that moment.
// Usage: pop3_bench PORT USER PASSWORD ROUNDS [pipelined|sequential [SECURITY SERVER [SECURITY2 PORT2]]]
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "mail/pop3/pop3_header_source.h"
#include "mail/pop3/pop3_session.h"

namespace {

class QuietHost final : public vsmr::PopHost {
 public:
  vsmr::MailAccount account;
  std::string last_status;
  void ShowStatus(std::string_view text) override { last_status.assign(text); }
  void SetStatusWord(std::string_view) override {}
  vsmr::MailAccount ReadAccount(int) override { return account; }
  void OfferAccountSetup(std::string_view, std::string_view) override {}
  bool AskPartialDownload(std::string_view, std::string_view) override { return false; }
  bool MailWindowExists() override { return true; }
};

double Now() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// One pass; false when it could not log in or read every header.
bool TimedPass(QuietHost& host, const vsmr::PopSettings& settings, bool allow_pipelining) {
  const double start = Now();
  vsmr::PopSession session(vsmr::SystemSockets(), host, settings);
  if (!vsmr::PopConnect(session, 0, 1)) {
    std::fprintf(stderr, "log-in failed: %s\n", host.last_status.c_str());
    return false;
  }
  const int count = vsmr::PopStat(session);
  vsmr::PopHeaderSource source(session, count, allow_pipelining);
  std::string header;
  int fetched = 0;
  for (int i = 1; i <= count; ++i) {
    if (source.Fetch(i, header) < 0) break;
    ++fetched;
  }
  vsmr::PopQuit(session);
  std::printf("%.6f %d %s %d\n", Now() - start, fetched,
              source.Mode() == vsmr::PopHeaderMode::kPipelined ? "pipelined" : "sequential",
              host.account.security);
  return fetched == count;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 && argc != 6 && argc != 8 && argc != 10) {
    std::fprintf(stderr, "usage: pop3_bench PORT USER PASSWORD ROUNDS "
                         "[pipelined|sequential [SECURITY SERVER [SECURITY2 PORT2]]]\n");
    return 2;
  }
  const bool allow_pipelining = argc == 5 || std::string(argv[5]) != "sequential";
  struct Way {
    int security;
    int port;
  };
  Way ways[2] = {{argc >= 8 ? std::atoi(argv[6]) : vsmr::kPopSecurityClear, std::atoi(argv[1])}, {}};
  const int way_count = argc == 10 ? 2 : 1;
  if (argc == 10) ways[1] = {std::atoi(argv[8]), std::atoi(argv[9])};
  QuietHost host;
  host.account.server.Set(argc >= 8 ? argv[7] : "127.0.0.1");
  host.account.user_name.Set(argv[2]);
  host.account.password.Set(argv[3]);
  vsmr::PopSettings settings;
  for (int round = 0; round < std::atoi(argv[4]); ++round) {
    for (int way = 0; way < way_count; ++way) {
      host.account.security = ways[way].security;
      settings.port = static_cast<std::uint16_t>(ways[way].port);
      if (!TimedPass(host, settings, allow_pipelining)) return 1;
    }
  }
  return 0;
}
