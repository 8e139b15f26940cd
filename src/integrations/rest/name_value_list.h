#pragma once
// A list of "Name=Value" texts, as the integrations keep their request bodies and headers.
#include <string>
#include <vector>

namespace recebimento::integrations {

class NameValueList {
 public:
  // Sets the entry of `name` (its first entry is replaced; a new one goes last).
  void SetValue(const std::string& name, const std::string& value);
  // The value of the first entry of `name`; "" when there is none.
  std::string Value(const std::string& name) const;
  const std::vector<std::string>& Entries() const { return entries_; }
  bool Empty() const { return entries_.empty(); }
  void Clear() { entries_.clear(); }

 private:
  // The entry of `name`, or entries_.size().
  size_t Find(const std::string& name) const;

  std::vector<std::string> entries_;
};

}  // namespace recebimento::integrations
