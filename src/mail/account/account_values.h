// The values of a mail account's settings that the POP3 client acts on: how a
// connection is protected, the default ports, and the bounds of the message
// size and the wait. The settings file keeps and clamps them, the account
// editor offers them and the client obeys them, so they live below all three.
#pragma once
#include <cstdint>

namespace vsmr {

// TimeOut and LimitMailSize when the settings file has none.
inline constexpr int kPopDefaultTimeoutSeconds = 10;
inline constexpr int kPopDefaultLimitMailSize = 65536;
// A message size from the server is never taken as more than this.
inline constexpr int kPopMaxMessageSize = 1048576;
// TimeOut is kept within an hour: the waits in milliseconds, and the exit's
// wait for a check of TimeOut + 1 seconds, stay far from overflowing.
inline constexpr int kPopMaxTimeoutSeconds = 3600;

// Mail%dSecurity: how the connection is protected.
inline constexpr int kPopSecurityClear = 0;  // clear text
inline constexpr int kPopSecurityTls = 1;    // TLS from the first byte (POP3S)
inline constexpr int kPopSecurityStls = 2;   // clear greeting, then STLS; never logs in without it
inline constexpr int kPopSecurityLast = kPopSecurityStls;
// Whether the client knows how to protect a connection with `security`; an
// account with any other value is never logged in to.
inline bool PopSecurityKnown(int security) {
  return security >= kPopSecurityClear && security <= kPopSecurityLast;
}
inline constexpr std::uint16_t kPopClearPort = 110;
inline constexpr std::uint16_t kPopTlsPort = 995;

// The port a connection uses: Mail%dPort, or for 0 the security's default.
inline std::uint16_t PopPortFor(int security, int port_setting) {
  if (port_setting > 0 && port_setting <= 65535) return static_cast<std::uint16_t>(port_setting);
  return security == kPopSecurityTls ? kPopTlsPort : kPopClearPort;
}

}  // namespace vsmr
