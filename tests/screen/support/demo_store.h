#pragma once
// The demo store on either engine for the parts' data module. Fixtures take it as their
// first base so that it outlives the data module built over it.
#include <gtest/gtest.h>

#include <memory>

#include "support/store_fixture.h"

namespace recebimento::testing {

class DemoStore {
 protected:
  // Opens a fresh demo store; false (and the test skipped) when the engine has no server.
  bool OpenDemoStore(Engine engine) {
    if (engine == Engine::PostgreSQL && PostgresAdminConnInfo().empty()) return false;
    store_ = std::make_unique<TestStore>(engine);
    return true;
  }

  std::unique_ptr<TestStore> store_;
};

}  // namespace recebimento::testing
