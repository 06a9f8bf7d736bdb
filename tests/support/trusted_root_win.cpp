#include "trusted_root_win.hpp"

#include <windows.h>
#include <wincrypt.h>

#include <fstream>
#include <iterator>

#include "base/unique_handle_win.hpp"

namespace vessa::test {
namespace {

// The registry-backed store writes its changes when it is committed or closed; the chain
// engine reads the registry, so the store is never kept open.
void commit_and_close(HCERTSTORE store) noexcept {
  CertControlStore(store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
  CertCloseStore(store, 0);
}
void free_certificate(PCCERT_CONTEXT certificate) noexcept { CertFreeCertificateContext(certificate); }

using UniqueRootStore = UniqueAny<HCERTSTORE, &commit_and_close>;
using UniqueCertificate = UniqueAny<PCCERT_CONTEXT, &free_certificate>;

UniqueRootStore open_user_root() {
  return UniqueRootStore(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root"));
}

}  // namespace

TrustedRoot::TrustedRoot(const std::filesystem::path& der_file) {
  std::ifstream file(der_file, std::ios::binary);
  der_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  if (der_.empty()) {
    error_ = "cannot read the certificate " + der_file.string();
    return;
  }
  const UniqueRootStore store = open_user_root();
  if (!store) {
    error_ = "CertOpenStore failed: " + std::to_string(GetLastError());
    return;
  }
  added_ = CertAddEncodedCertificateToStore(store.get(), X509_ASN_ENCODING, der_.data(), static_cast<DWORD>(der_.size()),
                                            CERT_STORE_ADD_REPLACE_EXISTING, nullptr) != FALSE;
  if (!added_) error_ = "CertAddEncodedCertificateToStore failed: " + std::to_string(GetLastError());
}

TrustedRoot::~TrustedRoot() {
  if (!added_) return;
  const UniqueCertificate certificate(
      CertCreateCertificateContext(X509_ASN_ENCODING, der_.data(), static_cast<DWORD>(der_.size())));
  const UniqueRootStore store = open_user_root();
  if (certificate && store) {
    PCCERT_CONTEXT stored =
        CertFindCertificateInStore(store.get(), X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, certificate.get(), nullptr);
    if (stored != nullptr) CertDeleteCertificateFromStore(stored);  // frees `stored`
  }
}

}  // namespace vessa::test
