#pragma once
// A named SQL statement held as a dialect holder: a default text and, where the
// engines differ, the text for a given kind of database. Parameters are named
// (":P_CDFILIAL"); a name used twice stands for one value.
#include <string>
#include <utility>
#include <vector>

#include "base/data_packet.h"
#include "datamodule/connection_config.h"

namespace recebimento::datamodule {

struct Statement {
  std::string name;
  std::string sql;
  std::vector<std::pair<DatabaseKind, std::string>> dialects = {};
  // Types of computed columns (sums, counts, expressions): the database cannot always
  // describe them, least of all for an empty result.
  std::vector<std::pair<std::string, base::FieldType>> column_types = {};

  const std::string& TextFor(DatabaseKind kind) const {
    for (const auto& [k, text] : dialects) {
      if (k == kind) return text;
    }
    return sql;
  }
};

// The parameter names a text uses, each once, in order of first appearance.
std::vector<std::string> ParameterNames(const std::string& sql);

}  // namespace recebimento::datamodule
