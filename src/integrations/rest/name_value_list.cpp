#include "integrations/rest/name_value_list.h"

namespace recebimento::integrations {

size_t NameValueList::Find(const std::string& name) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    const std::string& e = entries_[i];
    if (e.size() > name.size() && e[name.size()] == '=' && e.compare(0, name.size(), name) == 0) return i;
  }
  return entries_.size();
}

void NameValueList::SetValue(const std::string& name, const std::string& value) {
  const size_t at = Find(name);
  if (at < entries_.size()) {
    entries_[at] = name + "=" + value;
  } else {
    entries_.push_back(name + "=" + value);
  }
}

std::string NameValueList::Value(const std::string& name) const {
  const size_t at = Find(name);
  return at < entries_.size() ? entries_[at].substr(name.size() + 1) : std::string();
}

}  // namespace recebimento::integrations
