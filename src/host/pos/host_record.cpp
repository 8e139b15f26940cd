#include "host/pos/host_record.h"

#include <algorithm>

namespace recebimento::pos {

void HostRecord::Call(std::string name, std::vector<base::Variant> args) {
  calls_.push_back({std::move(name), std::move(args)});
}

void HostRecord::Print(std::string device, std::string text) {
  printed_.push_back({std::move(device), std::move(text)});
}

void HostRecord::Dialog(DialogRecord record) { dialogs_.push_back(std::move(record)); }

std::vector<HostCall> HostRecord::CallsOf(const std::string& name) const {
  std::vector<HostCall> out;
  std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(out),
               [&](const HostCall& c) { return c.name == name; });
  return out;
}

size_t HostRecord::CountOf(const std::string& name) const {
  return static_cast<size_t>(
      std::count_if(calls_.begin(), calls_.end(), [&](const HostCall& c) { return c.name == name; }));
}

void HostRecord::Clear() {
  calls_.clear();
  printed_.clear();
  dialogs_.clear();
}

}  // namespace recebimento::pos
