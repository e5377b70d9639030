// Fuzz target: a whole mail job (log-in, STAT, CAPA and header fetches, pipelined
// when the answer allows it, a download, a deletion, QUIT) against a server whose
// every byte and pause is fuzzed.
// Input: the first byte picks the settings; then the server's bytes, where
// 0xF0 and a letter mark a chunk break (c), a close (x), a silence (s), a
// failed wait (e) or an unreported socket (n); 0xF0 0xF0 is the byte itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "mail/pop3/pop3_header_source.h"
#include "mail/pop3/pop3_session.h"
#include "mail/pop3/recording_host.h"
#include "mail/pop3/scripted_sockets.h"

using vsmr::testing::RecordingHost;
using vsmr::testing::ScriptedSockets;

namespace {

void BuildScript(ScriptedSockets& net, const std::uint8_t* data, std::size_t size) {
  std::string chunk;
  auto flush = [&] {
    if (!chunk.empty()) net.Data(chunk);
    chunk.clear();
  };
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] != 0xF0 || i + 1 == size) {
      chunk += static_cast<char>(data[i]);
      continue;
    }
    const std::uint8_t mark = data[++i];
    switch (mark) {
      case 'c': flush(); break;
      case 'x': flush(); net.PeerCloses(); break;
      case 's': flush(); net.Silence(); break;
      case 'e': flush(); net.ReadWaitFails(ScriptedSockets::Step::kWaitError); break;
      case 'n': flush(); net.ReadWaitFails(ScriptedSockets::Step::kNotInSet); break;
      default: chunk += static_cast<char>(mark); break;
    }
  }
  flush();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t mode = data[0];
  ScriptedSockets net;
  BuildScript(net, data + 1, size - 1);
  RecordingHost host;
  host.account = RecordingHost::Account("pop.example", "user", "pass");
  host.answer_partial = (mode & 1) != 0;
  if (mode & 2) host.window_closes_after_status = (mode >> 4) + 1;
  vsmr::PopSettings settings;
  settings.limit_mail_size = (mode & 4) ? 100 : 65536;
  {
    vsmr::PopSession session(net, host, settings);
    if (vsmr::PopConnect(session, 0, (mode & 8) ? 3 : 1)) {
      const int count = vsmr::PopStat(session);
      vsmr::PopHeaderSource headers(session, count);
      for (int i = 1; i <= count && i <= 3; ++i) {
        std::string header;
        const int result = headers.Fetch(i, header);
        if (!header.empty() && header.size() < 32) std::abort();
        if (header.size() > static_cast<std::size_t>(vsmr::kPopMaxMessageSize) + 8192) std::abort();
        if (result < 0 && !session.IsOpen()) break;
      }
      const int expected = vsmr::PopListForDownload(session, 1);
      vsmr::MessageText text;
      if (expected > 0 && vsmr::AllocateMessageText(text, expected)) {
        vsmr::PopRetrieve(session, text, 1, expected);
        if (text.length >= text.bytes.size() || text.bytes[text.length] != '\0') std::abort();
      }
      vsmr::PopDelete(session, 1);
      vsmr::PopQuit(session);
    }
  }
  // Every start of the network layer is released, every socket closed.
  if (net.startups != net.cleanups || net.opens != net.closes) std::abort();
  return 0;
}
