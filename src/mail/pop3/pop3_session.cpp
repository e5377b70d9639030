// The connection's life: network layer, log-in, readiness waits, the "+OK"
// test and QUIT. Every path that gives up closes and releases exactly once.
#include "mail/pop3/pop3_session.h"

#include <cstdio>
#include <iterator>
#include <new>

#include "mail/pop3/pop3_answer.h"
#include "mail/pop3/pop3_io.h"
#include "mail/pop3/pop3_texts.h"

namespace vsmr {

namespace {

int WaitSeconds(const PopSettings& settings) {
  return settings.timeout_seconds < 0 ? 0 : settings.timeout_seconds;
}

// The connect and the TLS handshake always get at least a second, even with a
// TimeOut of 0 (which makes every later wait a mere poll).
int SetUpSeconds(const PopSettings& settings) {
  return settings.timeout_seconds < 1 ? 1 : settings.timeout_seconds;
}

bool AccountComplete(const MailAccount& account) {
  return !account.server.Empty() && !account.user_name.Empty() && !account.password.Empty();
}

// Reports and closes when `account` must not be logged in to: without a
// server name the lookup would find this machine, and with a security the
// client does not know the log-in might go out in clear text.
bool RefuseAccount(PopSession& session, const MailAccount& account) {
  if (!account.server.Empty() && PopSecurityKnown(account.security)) return false;
  if (account.server.Empty()) {
    session.Fail(pop3_text::kServerEmpty, pop3_text::kErrServerEmpty);
  } else {
    session.Fail(pop3_text::kSecurityUnknown, pop3_text::kErrSecurityUnknown);
  }
  session.Close();
  return true;
}

// Sends `line` and checks its answer; on refusal reports `text` with `code`
// and closes.
bool AcceptedStep(PopSession& session, const char* line, const char* text, const char* code) {
  if (!pop3_io::SendCommand(session, line)) return false;
  char answer[pop3_io::kShortAnswer + 1];
  const long got = pop3_io::ReceiveOnce(session, answer, pop3_io::kShortAnswer);
  if (got < 0) return false;
  if (!BeginsWithOk(std::string_view(answer, static_cast<std::size_t>(got)))) {
    session.Fail(text, code);
    session.Close();
    return false;
  }
  return true;
}

// A log-in line; on refusal reports `text` with "MailErrU" and closes.
bool LogInStep(PopSession& session, const char* format, const char* value, const char* text) {
  char line[pop3_io::kShortAnswer];
  std::snprintf(line, sizeof line, format, value);
  return AcceptedStep(session, line, text, pop3_text::kErrLogin);
}

// STLS, then the handshake. A server that refuses STLS (or does not answer
// it) is never sent the log-in in clear text.
bool UpgradeWithStls(PopSession& session, const MailAccount& account) {
  return AcceptedStep(session, "STLS\r\n", pop3_text::kStlsNotOffered, pop3_text::kErrStlsNotOffered) &&
         session.StartTls(account.server.c_str());
}

}  // namespace

bool PopSession::StartLayer() {
  if (!layer_started_) layer_started_ = sockets_.Startup();
  return layer_started_;
}

void PopSession::Close() {
  if (tls_) {
    tls_->Shutdown();
    tls_.reset();
  }
  if (socket_ != kNoSocket) {
    sockets_.Close(socket_);
    socket_ = kNoSocket;
  }
  if (layer_started_) {
    sockets_.Cleanup();
    layer_started_ = false;
  }
}

bool PopSession::StartTls(const char* server_name) {
  struct Failure {
    TlsOutcome outcome;
    const char* text;
    const char* code;
  };
  static constexpr Failure kFailures[] = {
      {TlsOutcome::kUntrusted, pop3_text::kTlsUntrusted, pop3_text::kErrTlsUntrusted},
      {TlsOutcome::kNameMismatch, pop3_text::kTlsNameMismatch, pop3_text::kErrTlsName},
      {TlsOutcome::kExpired, pop3_text::kTlsExpired, pop3_text::kErrTlsExpired},
      {TlsOutcome::kHandshakeFailed, pop3_text::kTlsHandshakeFailed, pop3_text::kErrTlsHandshake},
  };
  if (!IsOpen()) return false;
  TlsOutcome outcome = TlsOutcome::kHandshakeFailed;
  tls_ = tls_connector_.Start(sockets_, socket_, server_name, SetUpSeconds(settings_), outcome);
  if (tls_ && outcome == TlsOutcome::kOk) return true;
  tls_.reset();
  const Failure* failure = &kFailures[std::size(kFailures) - 1];  // the handshake failure
  for (const Failure& f : kFailures) {
    if (f.outcome == outcome) failure = &f;
  }
  Fail(failure->text, failure->code);
  Close();
  return false;
}

void PopSession::Fail(std::string_view text, std::string_view code) {
  host_.ShowStatus(text);
  if (!code.empty()) host_.SetStatusWord(code);
}

bool AllocateMessageText(MessageText& text, int expected_size) {
  if (expected_size < 0) expected_size = 0;
  if (expected_size > kPopMaxMessageSize) expected_size = kPopMaxMessageSize;
  try {
    text.bytes.assign(static_cast<std::size_t>(expected_size) + kPopMessageSlack, '\0');
  } catch (const std::bad_alloc&) {
    text.bytes.clear();
    return false;
  }
  text.length = 0;
  return true;
}

bool PopConnect(PopSession& session, int account_index, int job_kind) {
  session.Close();  // a session holds one connection at a time
  if (!session.StartLayer()) {
    session.Fail(pop3_text::kCannotStart, pop3_text::kErrStartup);
    return false;
  }
  PopHost& host = session.Host();
  MailAccount account = host.ReadAccount(account_index);
  if (job_kind != kPopAutomaticCheckJob && !AccountComplete(account)) {
    host.OfferAccountSetup(pop3_text::kAccountIncomplete, pop3_text::kAccountIncompleteCaption);
    account = host.ReadAccount(account_index);
    if (!account.server.Empty() && !AccountComplete(account)) {
      session.Close();
      return false;
    }
  }
  if (RefuseAccount(session, account)) return false;
  SocketApi& sockets = session.Sockets();
  std::uint32_t address = 0;
  if (sockets.Resolve(account.server.c_str(), &address) != ResolveOutcome::kFound) {
    char text[1024];
    std::snprintf(text, sizeof text, pop3_text::kHostNotFoundFormat, account.server.c_str());
    session.Fail(text, pop3_text::kErrHost);
    session.Close();
    return false;
  }
  const SocketHandle socket = sockets.Open();
  if (socket == kNoSocket) {
    session.Fail(pop3_text::kCannotOpenSocket, pop3_text::kErrSocket);
    session.Close();
    return false;
  }
  session.Adopt(socket);
  const std::uint16_t port = session.Settings().port != 0
                                 ? session.Settings().port
                                 : PopPortFor(account.security, account.port);
  if (!sockets.Connect(socket, address, port, SetUpSeconds(session.Settings()))) {
    session.Fail(pop3_text::kConnectFailed, pop3_text::kErrConnect);
    session.Close();
    return false;
  }
  if (account.security == kPopSecurityTls && !session.StartTls(account.server.c_str())) return false;
  char greeting[pop3_io::kShortAnswer + 1];
  const long got = pop3_io::ReceiveOnce(session, greeting, pop3_io::kShortAnswer);
  if (got < 0) return false;
  if (!BeginsWithOk(std::string_view(greeting, static_cast<std::size_t>(got)))) {
    session.Fail(pop3_text::kGreetingRefused, pop3_text::kErrGreeting);
    session.Close();
    return false;
  }
  if (account.security == kPopSecurityStls && !UpgradeWithStls(session, account)) return false;
  return LogInStep(session, "USER %s\r\n", account.user_name.c_str(), pop3_text::kUserRefused) &&
         LogInStep(session, "PASS %s\r\n", account.password.c_str(), pop3_text::kPassRefused);
}

bool WaitReadable(PopSession& session) {
  if (!session.IsOpen()) return false;
  session.Host().BeforeWait();
  switch (session.Sockets().WaitReadable(session.Socket(), WaitSeconds(session.Settings()))) {
    case WaitOutcome::kReady:
      return true;
    case WaitOutcome::kTimeout:
      session.Fail(pop3_text::kReceiveTimeout, pop3_text::kErrTimeout);
      break;
    case WaitOutcome::kError:
    case WaitOutcome::kNotInSet:
      session.Fail(pop3_text::kReceiveFailed, pop3_text::kErrReceive);
      break;
  }
  session.Close();
  return false;
}

bool WaitWritable(PopSession& session) {
  if (!session.IsOpen()) return false;
  switch (session.Sockets().WaitWritable(session.Socket(), WaitSeconds(session.Settings()))) {
    case WaitOutcome::kReady:
      return true;
    case WaitOutcome::kTimeout:
      session.Fail(pop3_text::kSendTimeout, pop3_text::kErrTimeout);
      break;
    case WaitOutcome::kError:
      session.Fail(pop3_text::kSendFailed, {});  // the StatusWord keeps its code
      break;
    case WaitOutcome::kNotInSet:
      session.Fail(pop3_text::kSendFailed, pop3_text::kErrSend);
      break;
  }
  session.Close();
  return false;
}

bool ExpectOk(PopSession& session, std::string_view answer) {
  if (BeginsWithOk(answer)) return true;
  session.Fail(AnswerText(answer), pop3_text::kErrAnswer);
  return false;
}

bool PopQuit(PopSession& session) {
  if (!session.IsOpen()) {
    session.Close();  // releases a layer still held by a half-made connection
    return false;
  }
  if (!pop3_io::SendCommand(session, "QUIT\r\n")) return false;
  char answer[pop3_io::kShortAnswer + 1];
  if (pop3_io::ReceiveOnce(session, answer, pop3_io::kShortAnswer) < 0) return false;
  session.Close();
  return true;
}

namespace pop3_io {

bool SendCommand(PopSession& session, std::string_view line) {
  if (!WaitWritable(session)) return false;
  if (!session.Sockets().Send(session.Socket(), line.data(), line.size())) {
    session.Fail(pop3_text::kSendFailed, pop3_text::kErrSend);
    session.Close();
    return false;
  }
  return true;
}

long ReceiveOnce(PopSession& session, char* buffer, std::size_t limit) {
  buffer[0] = '\0';
  if (!WaitReadable(session)) return -1;
  long got = session.Sockets().Receive(session.Socket(), buffer, limit);
  if (got < 0) got = 0;
  if (static_cast<std::size_t>(got) > limit) got = static_cast<long>(limit);
  buffer[got] = '\0';
  return got;
}

bool Exchange(PopSession& session, std::string_view line, char* buffer, std::size_t limit) {
  if (!SendCommand(session, line)) return false;
  const long got = ReceiveOnce(session, buffer, limit);
  if (got < 0) return false;
  if (got == 0) {
    session.Fail(pop3_text::kReceiveFailed, pop3_text::kErrReceive);
    session.Close();
    return false;
  }
  return ExpectOk(session, std::string_view(buffer, static_cast<std::size_t>(got)));
}

}  // namespace pop3_io

}  // namespace vsmr
