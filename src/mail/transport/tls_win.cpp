// TLS through SChannel. The handshake runs with manual certificate
// validation, and the server's chain and name are then checked explicitly
// with the SSL chain policy, so the result does not depend on what a given
// SChannel version validates by itself. secur32 and crypt32 are loaded the
// first time a secured connection is made, so start-up never pays for them.
#define SECURITY_WIN32
#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>
#include <schannel.h>
#include <security.h>

#include <cstring>
#include <memory>
#include <vector>

#include "mail/transport/tls.h"

namespace vsmr {

namespace {

// Encrypted input is held in one buffer of this size: it takes several whole
// records at once (one receive, several decryptions), and a peer that fills it
// without completing one record or handshake message is not speaking TLS.
constexpr std::size_t kRawBuffer = 64 * 1024;

template <typename Function>
Function Find(HMODULE library, const char* name) {
  return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)))
                 : nullptr;
}

struct TlsApis {
  PSecurityFunctionTableW sspi = nullptr;
  decltype(&CertGetCertificateChain) get_chain = nullptr;
  decltype(&CertVerifyCertificateChainPolicy) verify_policy = nullptr;
  decltype(&CertFreeCertificateChain) free_chain = nullptr;
  decltype(&CertFreeCertificateContext) free_certificate = nullptr;

  bool Loaded() const {
    return sspi && get_chain && verify_policy && free_chain && free_certificate;
  }
};

const TlsApis& Apis() {
  static const TlsApis apis = [] {
    TlsApis a;
    const HMODULE secur32 = LoadLibraryA("secur32.dll");
    if (const auto init = Find<INIT_SECURITY_INTERFACE_W>(secur32, "InitSecurityInterfaceW")) {
      a.sspi = init();
    }
    const HMODULE crypt32 = LoadLibraryA("crypt32.dll");
    a.get_chain = Find<decltype(a.get_chain)>(crypt32, "CertGetCertificateChain");
    a.verify_policy = Find<decltype(a.verify_policy)>(crypt32, "CertVerifyCertificateChainPolicy");
    a.free_chain = Find<decltype(a.free_chain)>(crypt32, "CertFreeCertificateChain");
    a.free_certificate = Find<decltype(a.free_certificate)>(crypt32, "CertFreeCertificateContext");
    return a;
  }();
  return apis;
}

// Milliseconds left until `deadline` (GetTickCount64), never negative.
int MillisecondsLeft(ULONGLONG deadline) {
  const ULONGLONG now = GetTickCount64();
  return now >= deadline ? 0 : static_cast<int>(deadline - now);
}

std::wstring Wide(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  wide.resize(static_cast<std::size_t>(length - 1));
  return wide;
}

// The checks of the server's certificate: chain to a trusted root, validity
// dates, and the server name, each told apart.
TlsOutcome VerifyServer(const TlsApis& api, PCCERT_CONTEXT certificate, const std::wstring& name) {
  char server_auth[] = szOID_PKIX_KP_SERVER_AUTH;
  LPSTR usages[] = {server_auth};
  CERT_CHAIN_PARA chain_para{};
  chain_para.cbSize = sizeof chain_para;
  chain_para.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
  chain_para.RequestedUsage.Usage.cUsageIdentifier = 1;
  chain_para.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
  PCCERT_CHAIN_CONTEXT chain = nullptr;
  if (!api.get_chain(nullptr, certificate, nullptr, certificate->hCertStore, &chain_para, 0, nullptr,
                     &chain)) {
    return TlsOutcome::kUntrusted;
  }
  const DWORD trust = chain->TrustStatus.dwErrorStatus;

  SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
  ssl.cbSize = sizeof ssl;
  ssl.dwAuthType = AUTHTYPE_SERVER;
  ssl.pwszServerName = const_cast<wchar_t*>(name.c_str());
  CERT_CHAIN_POLICY_PARA policy{};
  policy.cbSize = sizeof policy;
  policy.pvExtraPolicyPara = &ssl;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof status;
  const BOOL checked = api.verify_policy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status);
  api.free_chain(chain);
  if (!checked) return TlsOutcome::kUntrusted;

  // An untrusted chain is reported first whatever else is wrong with it:
  // its dates and names say nothing when anyone could have made it.
  constexpr DWORD kUntrustedChain = CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_IS_PARTIAL_CHAIN |
                                    CERT_TRUST_IS_NOT_SIGNATURE_VALID | CERT_TRUST_IS_REVOKED |
                                    CERT_TRUST_IS_CYCLIC | CERT_TRUST_IS_NOT_VALID_FOR_USAGE;
  const auto error = static_cast<HRESULT>(status.dwError);
  if ((trust & kUntrustedChain) != 0 || error == CERT_E_UNTRUSTEDROOT || error == CERT_E_CHAINING ||
      error == TRUST_E_CERT_SIGNATURE || error == CERT_E_UNTRUSTEDTESTROOT) {
    return TlsOutcome::kUntrusted;
  }
  if ((trust & CERT_TRUST_IS_NOT_TIME_VALID) != 0 || error == CERT_E_EXPIRED) {
    return TlsOutcome::kExpired;
  }
  if (error == CERT_E_CN_NO_MATCH) return TlsOutcome::kNameMismatch;
  if (error != 0) return TlsOutcome::kUntrusted;
  return TlsOutcome::kOk;
}

// One secured connection: the SChannel context and the bytes in flight.
class SchannelLayer final : public TlsLayer, public SocketApi {
 public:
  SchannelLayer(const TlsApis& api, SocketApi& plain, SocketHandle socket, int timeout_seconds)
      : api_(api), plain_(plain), socket_(socket), timeout_seconds_(timeout_seconds) {}

  ~SchannelLayer() override {
    if (have_context_) api_.sspi->DeleteSecurityContext(&context_);
    if (have_credentials_) api_.sspi->FreeCredentialsHandle(&credentials_);
  }

  TlsOutcome Handshake(const char* server_name) {
    name_ = Wide(server_name);
    SCHANNEL_CRED cred{};
    cred.dwVersion = SCHANNEL_CRED_VERSION;
    cred.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
    TimeStamp expiry;
    wchar_t package[] = UNISP_NAME_W;
    if (api_.sspi->AcquireCredentialsHandleW(nullptr, package, SECPKG_CRED_OUTBOUND, nullptr, &cred,
                                             nullptr, nullptr, &credentials_, &expiry) != SEC_E_OK) {
      return TlsOutcome::kHandshakeFailed;
    }
    have_credentials_ = true;

    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout_seconds_) * 1000;
    raw_.resize(kRawBuffer);
    SECURITY_STATUS status = Step(nullptr, 0);
    for (;;) {
      if (status == SEC_E_OK) break;
      if (status != SEC_I_CONTINUE_NEEDED && status != SEC_E_INCOMPLETE_MESSAGE &&
          status != SEC_I_INCOMPLETE_CREDENTIALS) {
        return TlsOutcome::kHandshakeFailed;
      }
      if (MillisecondsLeft(deadline) == 0) return TlsOutcome::kHandshakeFailed;
      if (status == SEC_E_INCOMPLETE_MESSAGE || RawHeld() == 0) {
        if (!ReadRaw(deadline)) return TlsOutcome::kHandshakeFailed;
      }
      status = Step(raw_.data() + raw_begin_, RawHeld());
    }

    if (api_.sspi->QueryContextAttributesW(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_) != SEC_E_OK) {
      return TlsOutcome::kHandshakeFailed;
    }
    record_.resize(sizes_.cbHeader + sizes_.cbMaximumMessage + sizes_.cbTrailer);
    PCCERT_CONTEXT certificate = nullptr;
    if (api_.sspi->QueryContextAttributesW(&context_, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate) !=
            SEC_E_OK ||
        certificate == nullptr) {
      return TlsOutcome::kHandshakeFailed;
    }
    const TlsOutcome verified = VerifyServer(api_, certificate, name_);
    api_.free_certificate(certificate);
    return verified;
  }

  // TlsLayer
  SocketApi& Transport() override { return *this; }

  void Shutdown() override {
    if (!have_context_ || failed_) return;
    DWORD type = SCHANNEL_SHUTDOWN;
    SecBuffer token{sizeof type, SECBUFFER_TOKEN, &type};
    SecBufferDesc desc{SECBUFFER_VERSION, 1, &token};
    if (api_.sspi->ApplyControlToken(&context_, &desc) != SEC_E_OK) return;
    // The alert goes out only when it can without waiting.
    if (plain_.WaitWritable(socket_, 0) != WaitOutcome::kReady) return;
    SecBuffer out{0, SECBUFFER_TOKEN, nullptr};
    SecBufferDesc out_desc{SECBUFFER_VERSION, 1, &out};
    ULONG attributes = 0;
    api_.sspi->InitializeSecurityContextW(&credentials_, &context_, nullptr, kRequest, 0, 0, nullptr, 0,
                                          nullptr, &out_desc, &attributes, nullptr);
    if (out.pvBuffer) {
      plain_.Send(socket_, static_cast<const char*>(out.pvBuffer), out.cbBuffer);
      api_.sspi->FreeContextBuffer(out.pvBuffer);
    }
  }

  // SocketApi: the connection's own steps go to the plain sockets.
  bool Startup() override { return plain_.Startup(); }
  void Cleanup() override { plain_.Cleanup(); }
  ResolveOutcome Resolve(const char* host, std::uint32_t* address) override {
    return plain_.Resolve(host, address);
  }
  SocketHandle Open() override { return plain_.Open(); }
  bool Connect(SocketHandle socket, std::uint32_t address, std::uint16_t port, int timeout) override {
    return plain_.Connect(socket, address, port, timeout);
  }
  void Close(SocketHandle socket) override { plain_.Close(socket); }
  WaitOutcome WaitWritable(SocketHandle socket, int timeout_seconds) override {
    return plain_.WaitWritable(socket, timeout_seconds);
  }

  WaitOutcome WaitReadable(SocketHandle, int timeout_seconds) override {
    const long long ms = static_cast<long long>(timeout_seconds < 0 ? 0 : timeout_seconds) * 1000;
    return WaitReadableMs(socket_, ms > 0x7fffffff ? 0x7fffffff : static_cast<int>(ms));
  }

  // Ready once decrypted bytes are waiting, the peer closed, or the stream
  // failed; a record that does not arrive whole within the time is a time-out.
  WaitOutcome WaitReadableMs(SocketHandle, int milliseconds) override {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(milliseconds < 0 ? 0 : milliseconds);
    bool waited = false;
    for (;;) {
      if (plain_left_ > 0 || closed_ || failed_) return WaitOutcome::kReady;
      if (RawHeld() > 0 && !incomplete_) {
        const std::size_t held = RawHeld();
        Decrypt();
        if (RawHeld() == held && plain_left_ == 0 && !incomplete_ && !closed_) failed_ = true;
        continue;
      }
      // Records without plain text (empty ones, say) never stretch the wait.
      if (waited && MillisecondsLeft(deadline) == 0) return WaitOutcome::kTimeout;
      const WaitOutcome wait = plain_.WaitReadableMs(socket_, MillisecondsLeft(deadline));
      if (wait != WaitOutcome::kReady) return wait;
      waited = true;
      ReceiveRaw();
    }
  }

  bool Send(SocketHandle, const char* data, std::size_t length) override {
    if (failed_) return false;
    std::vector<char>& record = record_;
    while (length > 0) {
      const std::size_t part = length < sizes_.cbMaximumMessage ? length : sizes_.cbMaximumMessage;
      std::memcpy(record.data() + sizes_.cbHeader, data, part);
      SecBuffer buffers[4] = {
          {sizes_.cbHeader, SECBUFFER_STREAM_HEADER, record.data()},
          {static_cast<unsigned long>(part), SECBUFFER_DATA, record.data() + sizes_.cbHeader},
          {sizes_.cbTrailer, SECBUFFER_STREAM_TRAILER, record.data() + sizes_.cbHeader + part},
          {0, SECBUFFER_EMPTY, nullptr},
      };
      SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
      if (api_.sspi->EncryptMessage(&context_, 0, &desc, 0) != SEC_E_OK) return false;
      const std::size_t total = buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer;
      if (!plain_.Send(socket_, record.data(), total)) return false;
      data += part;
      length -= part;
    }
    return true;
  }

  long Receive(SocketHandle socket, char* buffer, std::size_t capacity) override {
    if (plain_left_ == 0 && !closed_ && !failed_) {
      if (WaitReadable(socket, timeout_seconds_) != WaitOutcome::kReady) return -1;
    }
    if (plain_left_ > 0) {
      const std::size_t count = plain_left_ < capacity ? plain_left_ : capacity;
      std::memcpy(buffer, plain_data_, count);
      plain_data_ += count;
      plain_left_ -= count;
      return static_cast<long>(count);
    }
    return failed_ ? -1 : 0;
  }

 private:
  static constexpr ULONG kRequest = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT |
                                    ISC_REQ_CONFIDENTIALITY | ISC_REQ_EXTENDED_ERROR |
                                    ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM |
                                    ISC_REQ_MANUAL_CRED_VALIDATION;

  std::size_t RawHeld() const { return raw_end_ - raw_begin_; }

  // One call of the handshake with `length` bytes from the server; sends
  // what SChannel answers and keeps the bytes it did not use.
  SECURITY_STATUS Step(char* input, std::size_t length) {
    SecBuffer in[2] = {{static_cast<unsigned long>(length), SECBUFFER_TOKEN, input},
                       {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc in_desc{SECBUFFER_VERSION, 2, in};
    SecBuffer out{0, SECBUFFER_TOKEN, nullptr};
    SecBufferDesc out_desc{SECBUFFER_VERSION, 1, &out};
    ULONG attributes = 0;
    std::wstring name = name_;
    const SECURITY_STATUS status = api_.sspi->InitializeSecurityContextW(
        &credentials_, have_context_ ? &context_ : nullptr, name.data(), kRequest, 0, 0,
        input ? &in_desc : nullptr, 0, have_context_ ? nullptr : &context_, &out_desc, &attributes,
        nullptr);
    if (!have_context_ && (status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED)) have_context_ = true;
    if (out.pvBuffer) {
      const bool sent = out.cbBuffer == 0 ||
                        plain_.Send(socket_, static_cast<const char*>(out.pvBuffer), out.cbBuffer);
      api_.sspi->FreeContextBuffer(out.pvBuffer);
      if (!sent) return SEC_E_INTERNAL_ERROR;
    }
    // Input that was incomplete, or that waits for credentials we never
    // have (a server asking for a client certificate), is offered again.
    if (status == SEC_E_INCOMPLETE_MESSAGE || status == SEC_I_INCOMPLETE_CREDENTIALS) return status;
    if (input) KeepExtra(in[1]);
    return status;
  }

  // Keeps the unused tail that SChannel reports as extra (it lies at the
  // end of the input), or nothing.
  void KeepExtra(const SecBuffer& extra) {
    if (extra.BufferType == SECBUFFER_EXTRA && extra.cbBuffer > 0 && extra.cbBuffer <= RawHeld()) {
      raw_begin_ = raw_end_ - extra.cbBuffer;
    } else {
      raw_begin_ = raw_end_ = 0;
    }
  }

  // Waits until more bytes arrive or `deadline`; false on time-out, close or error.
  bool ReadRaw(ULONGLONG deadline) {
    if (plain_.WaitReadableMs(socket_, MillisecondsLeft(deadline)) != WaitOutcome::kReady) return false;
    return ReceiveRaw() && !closed_;
  }

  // One receive after the bytes held. Only called once every decrypted byte
  // has been handed out: decryption happens in place, so moving the held
  // bytes to the front may overwrite what was handed out already.
  bool ReceiveRaw() {
    if (raw_end_ == raw_.size()) {
      if (raw_begin_ == 0) {
        failed_ = true;  // a full buffer, and still not one whole record
        return false;
      }
      std::memmove(raw_.data(), raw_.data() + raw_begin_, RawHeld());
      raw_end_ -= raw_begin_;
      raw_begin_ = 0;
    }
    const long got = plain_.Receive(socket_, raw_.data() + raw_end_, raw_.size() - raw_end_);
    if (got > 0) raw_end_ += static_cast<std::size_t>(got);
    if (got == 0) closed_ = true;
    if (got < 0) failed_ = true;
    incomplete_ = false;
    return got > 0;
  }

  // Decrypts the records the raw buffer holds, the first that is complete.
  void Decrypt() {
    SecBuffer buffers[4] = {{static_cast<unsigned long>(RawHeld()), SECBUFFER_DATA, raw_.data() + raw_begin_},
                            {0, SECBUFFER_EMPTY, nullptr},
                            {0, SECBUFFER_EMPTY, nullptr},
                            {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
    const SECURITY_STATUS status = api_.sspi->DecryptMessage(&context_, &desc, 0, nullptr);
    if (status == SEC_E_INCOMPLETE_MESSAGE) {
      incomplete_ = true;
      return;
    }
    if (status != SEC_E_OK && status != SEC_I_CONTEXT_EXPIRED && status != SEC_I_RENEGOTIATE) {
      failed_ = true;
      return;
    }
    const SecBuffer* extra = nullptr;
    for (const SecBuffer& b : buffers) {
      if (b.BufferType == SECBUFFER_DATA && b.cbBuffer > 0) {
        plain_data_ = static_cast<const char*>(b.pvBuffer);
        plain_left_ = b.cbBuffer;
      } else if (b.BufferType == SECBUFFER_EXTRA && b.cbBuffer > 0) {
        extra = &b;
      }
    }
    const SecBuffer none{0, SECBUFFER_EMPTY, nullptr};
    KeepExtra(extra ? *extra : none);
    if (status == SEC_I_CONTEXT_EXPIRED) {
      closed_ = true;
    } else if (status == SEC_I_RENEGOTIATE) {
      // Post-handshake messages (such as TLS 1.3 session tickets) go back
      // through the handshake call; the server never asks for more here.
      const SECURITY_STATUS again = Step(RawHeld() == 0 ? nullptr : raw_.data() + raw_begin_, RawHeld());
      if (again != SEC_E_OK && again != SEC_I_CONTINUE_NEEDED) failed_ = true;
    }
  }

  const TlsApis& api_;
  SocketApi& plain_;
  SocketHandle socket_;
  int timeout_seconds_;
  std::wstring name_;
  CredHandle credentials_{};
  CtxtHandle context_{};
  bool have_credentials_ = false;
  bool have_context_ = false;
  SecPkgContext_StreamSizes sizes_{};
  std::vector<char> raw_;  // received bytes; those from raw_begin_ to raw_end_ are not yet used
  std::size_t raw_begin_ = 0;
  std::size_t raw_end_ = 0;
  bool incomplete_ = false;  // the bytes held are only part of a record
  const char* plain_data_ = nullptr;  // decrypted in place in raw_, not yet handed out
  std::size_t plain_left_ = 0;
  std::vector<char> record_;  // one outgoing record: header, data, trailer
  bool closed_ = false;
  bool failed_ = false;
};

class SchannelConnector final : public TlsConnector {
 public:
  std::unique_ptr<TlsLayer> Start(SocketApi& plain, SocketHandle socket, const char* server_name,
                                  int timeout_seconds, TlsOutcome& outcome) override {
    const TlsApis& api = Apis();
    if (!api.Loaded()) {
      outcome = TlsOutcome::kHandshakeFailed;
      return nullptr;
    }
    auto layer = std::make_unique<SchannelLayer>(api, plain, socket, timeout_seconds);
    outcome = layer->Handshake(server_name);
    if (outcome != TlsOutcome::kOk) return nullptr;
    return layer;
  }
};

}  // namespace

TlsConnector& SystemTls() {
  static SchannelConnector connector;
  return connector;
}

}  // namespace vsmr
