#pragma once
// A host parameter block: named values that the Params_..._Gpe00000 functions build and
// the host operations fill with their results ("INTTEFERRO", "INCLUICPF", ...).
#include <map>
#include <string>

#include "base/variant.h"

namespace recebimento::runtime {

class ParamBlock {
 public:
  void Set(const std::string& key, base::Variant value) { values_[key] = std::move(value); }
  bool Has(const std::string& key) const { return values_.count(key) != 0; }
  base::Variant Get(const std::string& key) const {
    auto it = values_.find(key);
    return it == values_.end() ? base::Variant() : it->second;
  }
  const std::map<std::string, base::Variant>& Values() const { return values_; }

 private:
  std::map<std::string, base::Variant> values_;
};

// The value stored under `key`; an unassigned variant when the block has none.
inline base::Variant RecebeParams(const ParamBlock& block, const std::string& key) { return block.Get(key); }

}  // namespace recebimento::runtime
