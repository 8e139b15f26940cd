#pragma once
// Values and datasets between JSON and the system's own types. Errors name the JSON
// member at fault ("datasets.cdsItensVenda[2].QTPRODCOMVEN").
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "base/dataset.h"
#include "base/variant.h"

namespace recebimento::harness {

// Bad input in a sale, host or script file: the message names the member or line.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// null, bool, number, text; arrays become variant arrays. Objects are refused.
base::Variant JsonToVariant(const nlohmann::ordered_json& value, const std::string& where);
// Packets become {"fields", "rows"}; date-times ISO texts; amounts stay numbers.
nlohmann::ordered_json VariantToJson(const base::Variant& value);

// A dataset from an array of row objects (field types inferred: text, number as float,
// boolean) or from {"fields": [{"name", "type", "size"}], "rows": [...]}. An empty
// array is refused: it gives no fields.
void LoadDataset(base::Dataset& dataset, const nlohmann::ordered_json& value, const std::string& where);
// {"fields": [{"name", "type", "size"}], "rows": [{...}]}; an inactive dataset gives
// empty lists.
nlohmann::ordered_json DatasetToJson(const base::Dataset& dataset);
nlohmann::ordered_json PacketToJson(const base::DataPacket& packet);

}  // namespace recebimento::harness
