#pragma once
// What the wallet clients' tests share: a host folder, a virtual clock, the integration
// context and loggers over them, and a look into every file the run wrote.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/clock.h"
#include "host/runtime/http_transport.h"
#include "integrations/rest/loggers.h"
#include "support/temp_dir.h"

namespace recebimento::testing {

class WalletClientTest : public ::testing::Test {
 protected:
  // Every file under the host folder whose text holds `text`.
  std::vector<std::string> FilesHolding(const std::string& text) const {
    std::vector<std::string> found;
    for (const auto& file : std::filesystem::recursive_directory_iterator(dir_.path())) {
      if (!file.is_regular_file()) continue;
      std::ifstream in(file.path(), std::ios::binary);
      std::stringstream content;
      content << in.rdbuf();
      if (content.str().find(text) != std::string::npos) found.push_back(file.path().string());
    }
    return found;
  }

  // Time-outs of a second at most, for the cases that wait for a reply that never comes.
  struct ShortTimeouts {
    ShortTimeouts() : saved(runtime::GetHttpSettings()) {
      runtime::HttpSettings quick = saved;
      quick.max_timeout_seconds = 1;
      runtime::SetHttpSettings(quick);
    }
    ~ShortTimeouts() { runtime::SetHttpSettings(saved); }
    runtime::HttpSettings saved;
  };

  TempDir dir_;
  base::VirtualClock clock_{base::DateTime::FromYMD(2026, 12, 6, 12, 0, 0)};
  integrations::IntegrationContext context_{clock_, pos::HostPaths(dir_.str())};
  integrations::Loggers log_{context_};
};

}  // namespace recebimento::testing
