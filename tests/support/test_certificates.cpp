#include "support/test_certificates.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "support/temp_dir.h"

namespace recebimento::testing {

namespace {

struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertFree {
  void operator()(X509* cert) const { X509_free(cert); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, KeyFree>;
using CertPtr = std::unique_ptr<X509, CertFree>;

void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("test certificate generation failed: ") + what);
}

KeyPtr NewKey() {
  // P-256 keys are made in microseconds; RSA would slow every test run.
  KeyPtr key(EVP_EC_gen("P-256"));
  Check(key != nullptr, "key");
  return key;
}

void AddExtension(X509* cert, X509* issuer, int nid, const char* value) {
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
  X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
  Check(ext != nullptr, "extension");
  X509_add_ext(cert, ext, -1);
  X509_EXTENSION_free(ext);
}

// A certificate for `key` named `common_name`, signed by `issuer_key` (issuer == nullptr:
// self-signed).
CertPtr NewCertificate(EVP_PKEY* key, const char* common_name, bool is_ca, X509* issuer, EVP_PKEY* issuer_key,
                       long serial) {
  CertPtr cert(X509_new());
  Check(cert != nullptr, "certificate");
  X509_set_version(cert.get(), 2);
  ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), serial);
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), 60L * 60 * 24 * 30);
  X509_set_pubkey(cert.get(), key);
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(common_name), -1, -1, 0);
  X509* signer = issuer ? issuer : cert.get();
  X509_set_issuer_name(cert.get(), X509_get_subject_name(signer));
  if (is_ca) {
    AddExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:TRUE");
    AddExtension(cert.get(), signer, NID_key_usage, "critical,keyCertSign,cRLSign");
  } else {
    AddExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:FALSE");
    AddExtension(cert.get(), signer, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
    AddExtension(cert.get(), signer, NID_ext_key_usage, "serverAuth");
  }
  AddExtension(cert.get(), signer, NID_subject_key_identifier, "hash");
  Check(X509_sign(cert.get(), issuer_key ? issuer_key : key, EVP_sha256()) > 0, "signature");
  return cert;
}

void WritePem(const std::filesystem::path& path, X509* cert) {
  FILE* file = std::fopen(path.c_str(), "wb");
  Check(file != nullptr, "open certificate file");
  bool ok = PEM_write_X509(file, cert) == 1;
  std::fclose(file);
  Check(ok, "write certificate");
}

void WritePem(const std::filesystem::path& path, EVP_PKEY* key) {
  FILE* file = std::fopen(path.c_str(), "wb");
  Check(file != nullptr, "open key file");
  bool ok = PEM_write_PrivateKey(file, key, nullptr, nullptr, 0, nullptr, nullptr) == 1;
  std::fclose(file);
  Check(ok, "write key");
}

}  // namespace

TestCertificates GenerateTestCertificates(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  TestCertificates files{folder / "ca.pem", folder / "server.pem", folder / "server.key", folder / "self_signed.pem",
                         folder / "self_signed.key"};

  KeyPtr ca_key = NewKey();
  CertPtr ca = NewCertificate(ca_key.get(), "Recebimento Test CA", true, nullptr, nullptr, 1);
  KeyPtr server_key = NewKey();
  CertPtr server = NewCertificate(server_key.get(), "127.0.0.1", false, ca.get(), ca_key.get(), 2);
  KeyPtr lone_key = NewKey();
  CertPtr lone = NewCertificate(lone_key.get(), "127.0.0.1", false, nullptr, nullptr, 3);

  WritePem(files.ca_cert, ca.get());
  WritePem(files.server_cert, server.get());
  WritePem(files.server_key, server_key.get());
  WritePem(files.self_signed_cert, lone.get());
  WritePem(files.self_signed_key, lone_key.get());
  return files;
}

const TestCertificates& SharedTestCertificates() {
  static TempDir folder;
  static const TestCertificates files = GenerateTestCertificates(folder.path());
  return files;
}

}  // namespace recebimento::testing
