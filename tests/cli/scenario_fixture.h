#pragma once
// Sales played through `recebimento run` the way a register plays them: a copy of the
// demo host folder, a fresh demo store on SQLite or PostgreSQL, a sale file and an
// operator script. Every scenario runs on both engines.
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "base/variant.h"
#include "cli_runner.h"
#include "support/store_fixture.h"
#include "support/temp_dir.h"

namespace recebimento::testing {

using json = nlohmann::ordered_json;

// One line of an operator script each.
namespace act {
std::string Click(const std::string& control);
// A key with its modifiers ("Enter", "Escape", "F4", "C", ...).
std::string Key(const std::string& key, bool alt = false, bool shift = false);
std::string Type(const std::string& text);
std::string Answer(const json& answer);
std::string Snapshot(const std::string& name);
std::string Wait(int milliseconds);
// Digits and the comma on the on-screen keypad, then its Enter.
std::string Keypad(const std::string& amount);
// Presses a tender button and pays `amount` on the keypad.
std::string Pays(const std::string& button, const std::string& amount);
// The host's value-or-percentage dialog answered with a value ('V') or a percentage ('P').
std::string Adjustment(char kind, double value);
}  // namespace act

// Rows of the datasets a sale file carries.
json Item(const std::string& product, double price, double quantity = 1);
json Tender(const std::string& code, const std::string& name, const std::string& kind, const std::string& button,
            const json& extra = json::object());
// A sale with these arguments (stTipoTela "N" unless given), items and tenders.
json Sale(const json& args, const json& items, const json& tenders);
// One of the sales of examples/sales.
json ExampleSale(const std::string& file);

// A payment-list line: 20 characters of name, a blank, the amount right-aligned in 14.
std::string ListLine(const std::string& name, const std::string& amount);

// Payment lines of a run's output as (tender, movement kind, amount).
using PaymentLine = std::tuple<std::string, std::string, double>;
std::vector<PaymentLine> PaymentLines(const json& out);
// Whether a dialog of the run showed a text holding `fragment`.
bool Shown(const json& out, const std::string& fragment);
// The arguments of every call the host received under that name.
std::vector<json> HostCalls(const json& out, const std::string& name);

// The world of one scenario: a host folder copied from the demo host and a store of
// its own on the engine given.
class Scenario {
 public:
  explicit Scenario(Engine engine);

  const std::string& Db() const { return store_.connection(); }
  TestStore& Store() { return store_; }
  std::filesystem::path HostDir() const { return dir_ / "host"; }
  const TempDir& Dir() const { return dir_; }
  // A host folder with nothing in it: no parameters file, no operator.
  void BareHost();
  // The same, with a parameters file that names only the branch (0001) and the register
  // (001): what a sale needs to take a number, and nothing else.
  void BareRegister();
  // Changes columns of the host's parameters file.
  void Parameters(const std::map<std::string, base::Variant>& values);

  // The run's output; the exit status must be `expected_exit`.
  json Run(const json& sale, const std::string& script, int expected_exit = 0);
  CliResult RunRaw(const json& sale, const std::string& script, const std::vector<std::string>& extra = {});
  // The command line of a run (sale and script written to the scenario's folder).
  std::vector<std::string> RunArgs(const json& sale, const std::string& script);

 private:
  TempDir dir_;
  TestStore store_;
};

// Skips the test when PostgreSQL is asked for and no server is configured; fails it when
// the command is not built.
void RequireScenarioEngine(Engine engine);

// Base of the scenarios run once per engine.
class ScenarioTest : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override;
  void TearDown() override { scenario_.reset(); }

  Scenario& S() { return *scenario_; }
  const std::string& Db() const { return scenario_->Db(); }
  TestStore& Store() { return scenario_->Store(); }
  std::filesystem::path HostDir() const { return scenario_->HostDir(); }
  void BareHost() { scenario_->BareHost(); }
  void BareRegister() { scenario_->BareRegister(); }
  void Parameters(const std::map<std::string, base::Variant>& values) { scenario_->Parameters(values); }
  json Run(const json& sale, const std::string& script, int expected_exit = 0) {
    return scenario_->Run(sale, script, expected_exit);
  }

 private:
  std::unique_ptr<Scenario> scenario_;
};

#define RECEBIMENTO_SCENARIO_ENGINES(suite)                                                                  \
  INSTANTIATE_TEST_SUITE_P(                                                                                  \
      Engines, suite,                                                                                        \
      ::testing::Values(::recebimento::testing::Engine::SQLite, ::recebimento::testing::Engine::PostgreSQL), \
      ::recebimento::testing::EngineName)

}  // namespace recebimento::testing
