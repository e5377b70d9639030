// Builds for other systems have no platform TLS of their own: every
// handshake is refused, so a secured account fails before any log-in.
#include "mail/transport/tls.h"

namespace vsmr {

namespace {

class NoTls final : public TlsConnector {
 public:
  std::unique_ptr<TlsLayer> Start(SocketApi&, SocketHandle, const char*, int,
                                  TlsOutcome& outcome) override {
    outcome = TlsOutcome::kHandshakeFailed;
    return nullptr;
  }
};

}  // namespace

TlsConnector& SystemTls() {
  static NoTls connector;
  return connector;
}

}  // namespace vsmr
