// The POP3 client: one connection to a mail account's server, log-in with USER
// and PASS, and the commands a mail check needs (STAT, TOP, LIST, RETR, DELE,
// QUIT). Progress and failures go to a PopHost as status text and a StatusWord code.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/fixed_text.h"
#include "mail/account/account_values.h"
#include "mail/account/mail_account.h"
#include "mail/transport/socket.h"
#include "mail/transport/tls.h"

namespace vsmr {

// Job kind of an automatic check: it logs in with the account as it stands.
inline constexpr int kPopAutomaticCheckJob = 3;
// Room added to the expected size when a message text is allocated.
inline constexpr int kPopMessageSlack = 16384;

// The log-in fields of one mail account, and how its server is reached.
struct PopSettings {
  // TimeOut: every wait for readiness.
  int timeout_seconds = kPopDefaultTimeoutSeconds;
  // LimitMailSize: above it a partial download is offered.
  int limit_mail_size = kPopDefaultLimitMailSize;
  // When not 0, every account connects to this port (tools and tests);
  // otherwise each account's own port is used.
  std::uint16_t port = 0;
};

// What the client needs from the rest of the program.
class PopHost {
 public:
  virtual ~PopHost() = default;
  // Replaces the mail window's status line.
  virtual void ShowStatus(std::string_view text) = 0;
  // Replaces the clock face's StatusWord with an eight-character code.
  virtual void SetStatusWord(std::string_view code) = 0;
  // The account's fields as they stand now (read again after the options dialog).
  virtual MailAccount ReadAccount(int account_index) = 0;
  // Warning box (`text`, `caption`, warning icon, OK) owned by the job's owner
  // window, then the options dialog run modally on it, then a repaint of it.
  virtual void OfferAccountSetup(std::string_view text, std::string_view caption) = 0;
  // Question box (`text`, `caption`, question icon, Yes and No) owned by the
  // mail window; true for Yes.
  virtual bool AskPartialDownload(std::string_view text, std::string_view caption) = 0;
  // False once the mail window is gone: downloads and header reads stop.
  virtual bool MailWindowExists() = 0;
  // The session is about to wait for the server: whatever the host holds back
  // to hand over in bulk goes out now, so nothing waits as long as the server.
  virtual void BeforeWait() {}
};

// One connection, from PopConnect to PopQuit. Whatever happens, a started
// network layer is released exactly once (at the latest by the destructor).
class PopSession {
 public:
  PopSession(SocketApi& sockets, PopHost& host, const PopSettings& settings,
             TlsConnector& tls = SystemTls())
      : sockets_(sockets), host_(host), settings_(settings), tls_connector_(tls) {}
  ~PopSession() { Close(); }
  PopSession(const PopSession&) = delete;
  PopSession& operator=(const PopSession&) = delete;

  bool IsOpen() const { return socket_ != kNoSocket; }
  // The connection's sockets: the TLS layer's once it is secured.
  SocketApi& Sockets() { return tls_ ? tls_->Transport() : sockets_; }
  // The handshake over the open connection for `server_name`; reports a
  // failure with its own text and code and closes.
  bool StartTls(const char* server_name);
  bool Secured() const { return tls_ != nullptr; }
  PopHost& Host() { return host_; }
  const PopSettings& Settings() const { return settings_; }
  SocketHandle Socket() const { return socket_; }

  // Used by the operations below.
  bool StartLayer();
  void Adopt(SocketHandle socket) { socket_ = socket; }
  // Closes the socket (if any) and releases the network layer (if started).
  void Close();
  // Reports a failure: status text, and the StatusWord code unless empty.
  void Fail(std::string_view text, std::string_view code);
  // Whether the last PopListForDownload gave less than the message's size
  // (partial download or the size cap): PopRetrieve then stops at that size.
  void NoteDownloadCut(bool cut) { download_cut_ = cut; }
  bool DownloadCut() const { return download_cut_; }

 private:
  SocketApi& sockets_;
  PopHost& host_;
  PopSettings settings_;
  TlsConnector& tls_connector_;
  std::unique_ptr<TlsLayer> tls_;
  SocketHandle socket_ = kNoSocket;
  bool layer_started_ = false;
  bool download_cut_ = false;
};

// The collected RETR answer, owned by the caller: expected size + 16,384
// bytes, zero-filled; the client never writes past its last byte.
struct MessageText {
  std::vector<char> bytes;
  std::size_t length = 0;
  std::string_view View() const { return std::string_view(bytes.data(), length); }
};

// Sizes and zero-fills `text` for `expected_size` bytes; false when the
// memory cannot be had (the caller reports it).
bool AllocateMessageText(MessageText& text, int expected_size);

// Starts the network layer, resolves, connects and logs in. False: no
// connection (the layer is released and the failure reported). An account
// without a server name, or whose security is not one the client knows, is
// refused with a code of its own before any lookup, in every job kind.
bool PopConnect(PopSession& session, int account_index, int job_kind);

// Waits for readiness with the TimeOut. On failure the connection is already
// closed and the network layer released.
bool WaitReadable(PopSession& session);
bool WaitWritable(PopSession& session);

// True when `answer` begins with "+OK" (any letter case); otherwise shows the
// answer in the status line and sets "MailErrE".
bool ExpectOk(PopSession& session, std::string_view answer);

// The message count, or -1.
int PopStat(PopSession& session);

// The number of bytes to download for message `number` (possibly
// LimitMailSize after the partial-download question), or 0 on failure.
int PopListForDownload(PopSession& session, int number);

// The header of message `number` (TOP with no body lines) into `header`, and
// the message size from LIST as the result, or -1. `header` holds the
// collected answer whenever the TOP step succeeded (read to its terminating
// line), also when LIST then fails; otherwise it is empty. A TOP answer that
// ends before its terminating line fails as a broken connection.
int PopFetchHeader(PopSession& session, int number, std::string& header);

// Downloads message `number` into `text` (status line included), showing the
// progress. `expected_size` comes from PopListForDownload. True when the whole
// answer arrived (up to its terminating line), or as much as a download cut
// to a chosen size wants. False when the server refused, when the answer ended
// before its terminating line (reported as a broken connection, closed), or
// when the mail window closed meanwhile (closed without a word).
bool PopRetrieve(PopSession& session, MessageText& text, int number, int expected_size);

// The unique id of message `number` (UIDL) into `uid`. False when the
// connection failed (reported); true with an empty `uid` when the server
// refuses the command (it need not offer UIDL), without a word.
bool PopUidl(PopSession& session, int number, std::string& uid);

// True when the server accepted DELE of message `number`.
bool PopDelete(PopSession& session, int number);

// Sends QUIT and reads its answer, then closes. False when the connection
// was already closed or a wait failed.
bool PopQuit(PopSession& session);

}  // namespace vsmr
