#include "trusted_root_win.hpp"

#include <windows.h>
#include <wincrypt.h>

#include <fstream>
#include <iterator>

namespace vessa::test {
namespace {

HCERTSTORE open_user_root() {
  return CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
}

// The registry-backed store writes its changes when it is committed or closed; the chain
// engine reads the registry, so the store is never kept open.
void commit_and_close(HCERTSTORE store) {
  CertControlStore(store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
  CertCloseStore(store, 0);
}

}  // namespace

TrustedRoot::TrustedRoot(const std::filesystem::path& der_file) {
  std::ifstream file(der_file, std::ios::binary);
  der_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  if (der_.empty()) {
    error_ = "cannot read the certificate " + der_file.string();
    return;
  }
  HCERTSTORE store = open_user_root();
  if (store == nullptr) {
    error_ = "CertOpenStore failed: " + std::to_string(GetLastError());
    return;
  }
  added_ = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der_.data(), static_cast<DWORD>(der_.size()),
                                            CERT_STORE_ADD_REPLACE_EXISTING, nullptr) != FALSE;
  if (!added_) error_ = "CertAddEncodedCertificateToStore failed: " + std::to_string(GetLastError());
  commit_and_close(store);
}

TrustedRoot::~TrustedRoot() {
  if (!added_) return;
  PCCERT_CONTEXT certificate =
      CertCreateCertificateContext(X509_ASN_ENCODING, der_.data(), static_cast<DWORD>(der_.size()));
  HCERTSTORE store = open_user_root();
  if (certificate != nullptr && store != nullptr) {
    PCCERT_CONTEXT stored =
        CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, certificate, nullptr);
    if (stored != nullptr) CertDeleteCertificateFromStore(stored);  // frees `stored`
  }
  if (store != nullptr) commit_and_close(store);
  if (certificate != nullptr) CertFreeCertificateContext(certificate);
}

}  // namespace vessa::test
