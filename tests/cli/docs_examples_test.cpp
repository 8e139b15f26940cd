// Every example of docs/scripted-run.md runs and gives what the document says.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "base/text.h"
#include "cli_runner.h"
#include "support/store_fixture.h"
#include "support/temp_dir.h"

namespace recebimento::testing {
namespace {

struct DocExample {
  std::string title;
  std::string sale;
  std::string script;
  std::vector<std::string> expected;
};

// Examples start at "### Example:"; their blocks are fenced as "json sale",
// "jsonl script" and "text expected".
std::vector<DocExample> ReadExamples(const std::string& path) {
  std::ifstream in(path);
  std::vector<DocExample> examples;
  std::string line, block, text;
  while (std::getline(in, line)) {
    if (base::StartsWith(line, "### Example:")) {
      examples.push_back({base::Trim(line.substr(12)), "", "", {}});
    } else if (block.empty() && base::StartsWith(line, "```") && line.size() > 3 && !examples.empty()) {
      block = base::Trim(line.substr(3));
      text.clear();
    } else if (!block.empty() && base::StartsWith(line, "```")) {
      DocExample& e = examples.back();
      if (block == "json sale")
        e.sale = text;
      else if (block == "jsonl script")
        e.script = text;
      else if (block == "text expected")
        e.expected = base::Split(base::TrimRight(text), "\n");
      block.clear();
    } else if (!block.empty()) {
      text += line + "\n";
    }
  }
  return examples;
}

TEST(DocsExamples, EveryExampleGivesWhatTheDocumentSays) {
  const std::string doc = std::string(RECEBIMENTO_SOURCE_DIR) + "/docs/scripted-run.md";
  const auto examples = ReadExamples(doc);
  ASSERT_GE(examples.size(), 5u) << "examples not found in " << doc;
  for (const auto& e : examples) {
    SCOPED_TRACE(e.title);
    ASSERT_FALSE(e.sale.empty());
    ASSERT_FALSE(e.expected.empty());
    TempDir dir;
    std::filesystem::create_directories(dir / "host" / "Dados");
    SqliteStoreAt(dir / "store.db");
    dir.Write("sale.json", e.sale);
    dir.Write("script.jsonl", e.script);
    const CliResult r = RunCli({"run", "--host-dir", (dir / "host").string(), "--sale", (dir / "sale.json").string(),
                                "--script", (dir / "script.jsonl").string(), "--db",
                                "sqlite:" + (dir / "store.db").string(), "--clock", "2026-12-06T12:00:00"},
                               dir.str());
    for (const auto& expectation : e.expected) {
      const auto colon = expectation.find(':');
      ASSERT_NE(colon, std::string::npos) << expectation;
      const std::string what = expectation.substr(0, colon);
      const std::string value = base::Trim(expectation.substr(colon + 1));
      if (what == "exit")
        EXPECT_EQ(r.exit_code, std::stoi(value)) << r.err;
      else if (what == "stderr")
        EXPECT_NE(r.err.find(value), std::string::npos) << r.err;
      else if (what == "output")
        EXPECT_NE(r.out.find(value), std::string::npos) << value;
      else
        ADD_FAILURE() << "unknown expectation " << expectation;
    }
  }
}

}  // namespace
}  // namespace recebimento::testing
