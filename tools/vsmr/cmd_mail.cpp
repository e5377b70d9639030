// `vsmr mail`: logs in to a POP3 server as the mail check does and lists every
// message as the mail window's rows show it, or prints one message's view
// text or its source.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "console_text.h"
#include "mail/jobs/mail_job.h"
#include "mail/mime/mail_compose.h"
#include "mail/mime/mail_record.h"
#include "mail/pop3/pop3_answer.h"
#include "mail/pop3/pop3_header_source.h"
#include "mail/pop3/pop3_session.h"
#include "subcommand.h"

namespace vsmr::tool {
namespace {

// The console as the client's host: failures are kept for one message at the
// end; a large message is downloaded whole (up to the size cap).
class ConsoleHost final : public PopHost {
 public:
  MailAccount account;
  std::string status;
  std::string code;
  void ShowStatus(std::string_view text) override { status.assign(text); }
  void SetStatusWord(std::string_view c) override { code.assign(c); }
  MailAccount ReadAccount(int) override { return account; }
  void OfferAccountSetup(std::string_view, std::string_view) override {}
  bool AskPartialDownload(std::string_view, std::string_view) override { return false; }
  bool MailWindowExists() override { return true; }
};

struct Options {
  std::string server, user, password;
  int port = 0;  // 0: 110, or 995 for --security 1
  int security = kPopSecurityClear;
  int timeout = 10;
  int show = 0;
  int source = 0;
  bool sequential = false;  // never pipelined, whatever the server allows
};

bool ParseNumber(const std::string& text, int minimum, int* out) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < minimum || value > 65535 * 32768L) return false;
  *out = static_cast<int>(value);
  return true;
}

bool ParseOptions(const std::vector<std::string>& args, Options& o) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--sequential") {
      o.sequential = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      std::fprintf(stderr, "vsmr mail: %s needs a value\n", name.c_str());
      return false;
    }
    const std::string& value = args[++i];
    bool ok = true;
    if (name == "--server") o.server = FromConsole(value);
    else if (name == "--user") o.user = FromConsole(value);
    else if (name == "--password") o.password = FromConsole(value);
    else if (name == "--port") ok = ParseNumber(value, 1, &o.port) && o.port <= 65535;
    else if (name == "--security") ok = ParseNumber(value, 0, &o.security) && o.security <= kPopSecurityLast;
    else if (name == "--timeout") ok = ParseNumber(value, 0, &o.timeout);
    else if (name == "--show") ok = ParseNumber(value, 1, &o.show);
    else if (name == "--source") ok = ParseNumber(value, 1, &o.source);
    else {
      std::fprintf(stderr, "vsmr mail: unknown option %s\n", name.c_str());
      return false;
    }
    if (!ok) {
      std::fprintf(stderr, "vsmr mail: bad value for %s: %s\n", name.c_str(), value.c_str());
      return false;
    }
  }
  if (o.server.empty() || o.user.empty() || o.password.empty()) {
    std::fprintf(stderr, "vsmr mail: --server, --user and --password are required\n");
    return false;
  }
  if (o.show > 0 && o.source > 0) {
    std::fprintf(stderr, "vsmr mail: --show and --source exclude each other\n");
    return false;
  }
  return true;
}

int ReportFailure(const ConsoleHost& host) {
  std::string status = host.status;
  while (!status.empty() && (status.back() == '\n' || status.back() == '\r')) status.pop_back();
  std::fprintf(stderr, "vsmr mail: %s (%s)\n", ToConsole(status).c_str(), host.code.c_str());
  return 1;
}

// Which way the headers were read, on the error stream after the rows.
void ReportMode(PopHeaderMode mode, bool forced) {
  if (mode == PopHeaderMode::kNotAsked) return;
  std::fflush(stdout);
  std::fprintf(stderr, "vsmr mail: %s\n",
               mode == PopHeaderMode::kPipelined ? "pipelined (the server allows PIPELINING)"
               : forced                          ? "sequential (--sequential)"
                                                 : "sequential (the server does not announce PIPELINING)");
}

// How the connection was secured, on the error stream before anything else.
void ReportSecurity(const PopSession& session, const Options& o) {
  if (!session.Secured()) return;
  std::fprintf(stderr, "vsmr mail: %s, port %d, certificate verified\n",
               o.security == kPopSecurityTls ? "TLS from the first byte (POP3S)" : "TLS after STLS",
               PopPortFor(o.security, o.port));
}

// One row per message: user, sender, subject, short date, size (tab-separated),
// read as the mail check reads them.
int ListMessages(PopSession& session, const ConsoleHost& host, const Options& o) {
  const int count = PopStat(session);
  if (count < 0) return ReportFailure(host);
  PopHeaderSource source(session, count, !o.sequential);
  for (int i = 1; i <= count; ++i) {
    std::string header;
    const int size = source.Fetch(i, header);
    if (size < 0) {
      ReportMode(source.Mode(), o.sequential);
      return ReportFailure(host);
    }
    MailRecord record{};
    ParseMailHeaders(header, record);
    std::printf("%s\t%s\t%s\t%s\t%d\n", EscapeField(o.user).c_str(),
                EscapeField(SenderListText(record.from.View())).c_str(),
                EscapeField(record.subject.View()).c_str(),
                EscapeField(FormatMailDate(record.date.View(), MailDateForm::kShort)).c_str(), size);
  }
  ReportMode(source.Mode(), o.sequential);
  return 0;
}

// The composed view text (--show) or the message's source (--source), as the
// mail window shows them.
int PrintMessage(PopSession& session, const ConsoleHost& host, int number, bool source) {
  const int expected = PopListForDownload(session, number);
  if (expected <= 0) return ReportFailure(host);
  MessageText text;
  if (!AllocateMessageText(text, expected)) {
    std::fprintf(stderr, "vsmr mail: out of memory\n");
    return 1;
  }
  if (!PopRetrieve(session, text, number, expected)) return ReportFailure(host);
  const std::string sent = UnstuffMultiLineAnswer(text.View());
  const std::string out = source ? std::string(MailSourceText(sent))
                                 : ComposeMailText(sent, static_cast<std::size_t>(expected));
  const std::string shown = ToConsole(out);
#ifdef _WIN32
  // The text already has CR LF line ends: written in text mode each CR would double.
  std::fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  std::fwrite(shown.data(), 1, shown.size(), stdout);
  return 0;
}

int RunMail(const std::vector<std::string>& args) {
  Options o;
  if (!ParseOptions(args, o)) return 2;
  ConsoleHost host;
  host.account.server.Set(o.server);
  host.account.user_name.Set(o.user);
  host.account.password.Set(o.password);
  host.account.security = o.security;
  host.account.port = o.port;
  PopSettings settings;
  settings.timeout_seconds = o.timeout;
  PopSession session(SystemSockets(), host, settings);
  if (!PopConnect(session, 0, 1)) return ReportFailure(host);
  ReportSecurity(session, o);
  int result;
  if (o.show > 0) result = PrintMessage(session, host, o.show, false);
  else if (o.source > 0) result = PrintMessage(session, host, o.source, true);
  else result = ListMessages(session, host, o);
  PopQuit(session);
  return result;
}

const Subcommand kMail("mail",
                       "mail --server HOST [--security 0|1|2] [--port P] --user U --password W "
                       "[--timeout S] "
                       "[--sequential] [--show N | --source N]",
                       RunMail);

}  // namespace
}  // namespace vsmr::tool
