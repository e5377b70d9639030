// TLS as a transport below the POP3 session: once the handshake over a
// connected socket has succeeded and the server's certificate has been
// verified, the session sends and receives through the layer's SocketApi,
// which encrypts and decrypts and otherwise behaves like the plain sockets.
#pragma once
#include <memory>

#include "mail/transport/socket.h"

namespace vsmr {

// How a handshake ended. Each failure has its own status text and code.
enum class TlsOutcome {
  kOk,
  kUntrusted,        // the chain does not end at a trusted root
  kNameMismatch,     // the certificate is not for the account's server name
  kExpired,          // the certificate (or one of its chain) is out of date
  kHandshakeFailed,  // no secured connection: protocol, time-out, closed, or no TLS here
};

class TlsLayer {
 public:
  virtual ~TlsLayer() = default;
  // The sockets the session uses from now on. Waits and receives see only
  // decrypted data; a wait for readability gives kReady only once a whole
  // record has been decrypted (or the peer closed or sent garbage, which the
  // next Receive reports), and it never waits longer in all than asked.
  virtual SocketApi& Transport() = 0;
  // Sends the closing alert (best effort, never waits) before the socket closes.
  virtual void Shutdown() = 0;
};

class TlsConnector {
 public:
  virtual ~TlsConnector() = default;
  // Runs the handshake over the connected `socket` of `plain`, for
  // `server_name` (NUL-terminated), within `timeout_seconds` in all, and
  // verifies the server's certificate against the user's trusted roots and
  // the name. The layer on kOk; otherwise null with `outcome` saying why, and
  // nothing but the handshake has been sent.
  virtual std::unique_ptr<TlsLayer> Start(SocketApi& plain, SocketHandle socket,
                                          const char* server_name, int timeout_seconds,
                                          TlsOutcome& outcome) = 0;
};

// The platform's TLS: SChannel on Windows. Builds without one refuse every
// handshake with kHandshakeFailed.
TlsConnector& SystemTls();

}  // namespace vsmr
