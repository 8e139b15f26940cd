#pragma once
// Certificates made at test time for TLS tests against 127.0.0.1: a test CA, a server
// certificate it signed (trusted once the CA is configured), and a self-signed server
// certificate that nothing trusts.
#include <filesystem>

namespace recebimento::testing {

struct TestCertificates {
  std::filesystem::path ca_cert;      // PEM of the test CA
  std::filesystem::path server_cert;  // signed by the CA; for 127.0.0.1 and localhost
  std::filesystem::path server_key;
  std::filesystem::path self_signed_cert;  // for 127.0.0.1 and localhost, signed by itself
  std::filesystem::path self_signed_key;
};

// Writes a fresh set into `folder` (created when missing). Throws std::runtime_error when
// OpenSSL fails.
TestCertificates GenerateTestCertificates(const std::filesystem::path& folder);

// One set per test process, made on first use in a temporary folder removed at exit.
const TestCertificates& SharedTestCertificates();

}  // namespace recebimento::testing
