// trust_root.exe: manages the current user's trusted roots for the TLS tests and
// shows how the platform judges a server certificate.
//   trust_root add CERTFILE      adds the (first) certificate to the "Root" store,
//                                replacing a copy already there
//   trust_root remove CERTFILE   removes that certificate from the "Root" store
//   trust_root verify CERTFILE NAME
//     builds the chain of the first certificate (the others in the file are offered
//     as intermediates, as a server sends them) and checks it as a TLS server for
//     NAME; prints "policy 0x%08X chain 0x%08X" (the policy's dwError and the chain's
//     TrustStatus.dwErrorStatus)
// CERTFILE is PEM (one or more certificates) or DER. Exit code 0 when the step
// succeeded (for verify: the policy was evaluated, whatever it said).
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr DWORD kEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;

// Every certificate of the file, DER-encoded, in file order.
std::vector<std::string> ReadCertificates(const char* path) {
  std::ifstream in(path, std::ios::binary);
  const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> certificates;
  static constexpr char kBegin[] = "-----BEGIN CERTIFICATE-----";
  static constexpr char kEnd[] = "-----END CERTIFICATE-----";
  if (data.find(kBegin) == std::string::npos) {
    if (!data.empty()) certificates.push_back(data);
    return certificates;
  }
  for (size_t begin = data.find(kBegin); begin != std::string::npos; begin = data.find(kBegin, begin + 1)) {
    const size_t end = data.find(kEnd, begin);
    if (end == std::string::npos) break;
    const std::string block = data.substr(begin, end + sizeof kEnd - 1 - begin);
    DWORD size = 0;
    if (!CryptStringToBinaryA(block.c_str(), static_cast<DWORD>(block.size()), CRYPT_STRING_BASE64HEADER,
                              nullptr, &size, nullptr, nullptr))
      continue;
    std::string der(size, '\0');
    if (CryptStringToBinaryA(block.c_str(), static_cast<DWORD>(block.size()), CRYPT_STRING_BASE64HEADER,
                             reinterpret_cast<BYTE*>(der.data()), &size, nullptr, nullptr))
      certificates.push_back(der.substr(0, size));
  }
  return certificates;
}

class Store {
 public:
  explicit Store(HCERTSTORE store) : store_(store) {}
  ~Store() {
    if (store_ != nullptr) CertCloseStore(store_, 0);
  }
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;
  HCERTSTORE get() const { return store_; }

 private:
  HCERTSTORE store_;
};

HCERTSTORE OpenUserRoot() {
  return CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
}

int Add(const std::string& der) {
  Store root(OpenUserRoot());
  if (root.get() == nullptr) {
    std::printf("cannot open the Root store: 0x%08lX\n", GetLastError());
    return 1;
  }
  if (!CertAddEncodedCertificateToStore(root.get(), kEncoding, reinterpret_cast<const BYTE*>(der.data()),
                                        static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING,
                                        nullptr)) {
    std::printf("cannot add the certificate: 0x%08lX\n", GetLastError());
    return 1;
  }
  std::printf("added\n");
  return 0;
}

int Remove(const std::string& der) {
  PCCERT_CONTEXT wanted =
      CertCreateCertificateContext(kEncoding, reinterpret_cast<const BYTE*>(der.data()), static_cast<DWORD>(der.size()));
  Store root(OpenUserRoot());
  if (wanted == nullptr || root.get() == nullptr) {
    std::printf("cannot read the certificate or open the store: 0x%08lX\n", GetLastError());
    if (wanted != nullptr) CertFreeCertificateContext(wanted);
    return 1;
  }
  int removed = 0;
  // The found context is freed by CertDeleteCertificateFromStore; the search goes on from the start.
  while (PCCERT_CONTEXT found = CertFindCertificateInStore(root.get(), kEncoding, 0, CERT_FIND_EXISTING, wanted,
                                                           nullptr)) {
    if (!CertDeleteCertificateFromStore(found)) break;
    ++removed;
  }
  CertControlStore(root.get(), 0, CERT_STORE_CTRL_COMMIT, nullptr);
  CertFreeCertificateContext(wanted);
  std::printf("removed %d\n", removed);
  return 0;
}

int Verify(const std::vector<std::string>& certificates, const char* name) {
  Store offered(CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr));
  PCCERT_CONTEXT leaf = nullptr;
  for (const std::string& der : certificates) {
    PCCERT_CONTEXT added = nullptr;
    CertAddEncodedCertificateToStore(offered.get(), kEncoding, reinterpret_cast<const BYTE*>(der.data()),
                                     static_cast<DWORD>(der.size()), CERT_STORE_ADD_ALWAYS,
                                     leaf == nullptr ? &leaf : &added);
    if (added != nullptr) CertFreeCertificateContext(added);
  }
  if (leaf == nullptr) {
    std::printf("cannot read the certificate: 0x%08lX\n", GetLastError());
    return 1;
  }
  CERT_CHAIN_PARA chain_para{};
  chain_para.cbSize = sizeof chain_para;
  PCCERT_CHAIN_CONTEXT chain = nullptr;
  if (!CertGetCertificateChain(nullptr, leaf, nullptr, offered.get(), &chain_para, 0, nullptr, &chain)) {
    std::printf("cannot build the chain: 0x%08lX\n", GetLastError());
    CertFreeCertificateContext(leaf);
    return 1;
  }
  std::wstring wide_name(std::strlen(name) + 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, name, -1, wide_name.data(), static_cast<int>(wide_name.size()));
  SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
  ssl.cbSize = sizeof ssl;
  ssl.dwAuthType = AUTHTYPE_SERVER;
  ssl.pwszServerName = wide_name.data();
  CERT_CHAIN_POLICY_PARA policy_para{};
  policy_para.cbSize = sizeof policy_para;
  policy_para.pvExtraPolicyPara = &ssl;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof status;
  const BOOL evaluated = CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy_para, &status);
  std::printf("policy 0x%08lX chain 0x%08lX\n", evaluated ? status.dwError : GetLastError(),
              chain->TrustStatus.dwErrorStatus);
  CertFreeCertificateChain(chain);
  CertFreeCertificateContext(leaf);
  return evaluated ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (!((mode == "add" || mode == "remove") && argc == 3) && !(mode == "verify" && argc == 4)) {
    std::printf("usage: trust_root add|remove CERTFILE | trust_root verify CERTFILE NAME\n");
    return 2;
  }
  const std::vector<std::string> certificates = ReadCertificates(argv[2]);
  if (certificates.empty()) {
    std::printf("no certificate in %s\n", argv[2]);
    return 1;
  }
  if (mode == "add") return Add(certificates.front());
  if (mode == "remove") return Remove(certificates.front());
  return Verify(certificates, argv[3]);
}
