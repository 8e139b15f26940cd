#pragma once
// A host parameter block: named values that the Params_..._Gpe00000 functions build and
// the host operations fill with their results ("INTTEFERRO", "INCLUICPF", ...).
#include <map>
#include <string>
#include <vector>

#include "base/variant.h"

namespace recebimento::runtime {

class ParamBlock {
 public:
  void Set(const std::string& key, base::Variant value) {
    if (!values_.count(key)) order_.push_back(key);
    values_[key] = std::move(value);
  }
  bool Has(const std::string& key) const { return values_.count(key) != 0; }
  base::Variant Get(const std::string& key) const {
    auto it = values_.find(key);
    return it == values_.end() ? base::Variant() : it->second;
  }
  const std::map<std::string, base::Variant>& Values() const { return values_; }
  // The values in the order they were first set: the order of the arguments the
  // Params_..._Gpe00000 function took, then any result the host added.
  std::vector<base::Variant> ValuesInOrder() const {
    std::vector<base::Variant> out;
    for (const auto& key : order_) out.push_back(values_.at(key));
    return out;
  }

 private:
  std::map<std::string, base::Variant> values_;
  std::vector<std::string> order_;
};

// The value stored under `key`; an unassigned variant when the block has none.
inline base::Variant RecebeParams(const ParamBlock& block, const std::string& key) { return block.Get(key); }

}  // namespace recebimento::runtime
