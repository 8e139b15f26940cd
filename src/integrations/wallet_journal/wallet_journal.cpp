#include "integrations/wallet_journal/wallet_journal.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/atomic_file.h"

namespace recebimento::integrations {

namespace {

using json = nlohmann::ordered_json;
namespace fs = std::filesystem;

std::string Text(const json& o, const char* name) {
  const auto it = o.find(name);
  return it != o.end() && it->is_string() ? it->get<std::string>() : std::string();
}

WalletJournalEntry EntryOf(const json& o) {
  if (!o.is_object()) throw std::runtime_error("an entry that is not an object");
  WalletJournalEntry e;
  e.id = Text(o, "id");
  e.provider = Text(o, "provider");
  e.kind = Text(o, "kind");
  e.phase = Text(o, "phase");
  e.order = Text(o, "order");
  e.payment = Text(o, "payment");
  e.since = Text(o, "since");
  const auto attempts = o.find("attempts");
  if (attempts != o.end() && attempts->is_number_integer()) e.attempts = attempts->get<int>();
  if (e.id.empty() || e.provider.empty()) throw std::runtime_error("an entry without id or provider");
  return e;
}

json JsonOf(const WalletJournalEntry& e) {
  return {{"id", e.id},       {"provider", e.provider}, {"kind", e.kind},         {"phase", e.phase},
          {"order", e.order}, {"payment", e.payment},   {"attempts", e.attempts}, {"since", e.since}};
}

}  // namespace

WalletJournal::WalletJournal(std::string path, base::Clock& clock) : path_(std::move(path)), clock_(clock) {
  std::error_code ec;
  base::RemoveInterruptedWritesOf(path_);
  if (!fs::exists(path_, ec)) return;
  try {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in && !in.eof()) throw std::runtime_error("cannot be read");
    const json doc = json::parse(text.str());
    const json& entries = doc.at("entries");
    if (!entries.is_array()) throw std::runtime_error("\"entries\" is not a list");
    for (const json& o : entries) entries_.push_back(EntryOf(o));
  } catch (const std::exception& e) {
    entries_.clear();
    const std::string aside = path_ + ".damaged-" + clock_.Now().Format("yyyymmddhhnnss");
    fs::rename(path_, aside, ec);
    problem_ = "diário das carteiras ilegível (" + std::string(e.what()) + "), guardado em " + aside;
  }
}

std::optional<WalletJournalEntry> WalletJournal::Find(const std::string& id) const {
  for (const auto& e : entries_)
    if (e.id == id) return e;
  return std::nullopt;
}

bool WalletJournal::Save() {
  json list = json::array();
  for (const auto& e : entries_) list.push_back(JsonOf(e));
  try {
    std::error_code ec;
    fs::create_directories(fs::path(path_).parent_path(), ec);
    base::WriteFileAtomically(path_, json{{"entries", list}}.dump(1));
    problem_.clear();
    return true;
  } catch (const std::exception& e) {
    problem_ = "diário das carteiras não gravado: " + std::string(e.what());
    return false;
  }
}

std::string WalletJournal::Add(WalletJournalEntry entry) {
  const base::DateTime now = clock_.Now();
  do {
    entry.id = entry.provider + "-" + now.Format("yyyymmddhhnnsszzz") + "-" + std::to_string(++sequence_);
  } while (Find(entry.id));
  entry.since = now.IsoDateTime();
  entries_.push_back(entry);
  if (Save()) return entry.id;
  // Not on disk: the caller does not go on with the call it was to record.
  entries_.pop_back();
  return "";
}

bool WalletJournal::Update(const WalletJournalEntry& entry) {
  for (auto& e : entries_)
    if (e.id == entry.id) {
      e = entry;
      return Save();
    }
  return false;
}

bool WalletJournal::Remove(const std::string& id) {
  const auto gone = std::remove_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e.id == id; });
  if (gone == entries_.end()) return true;
  entries_.erase(gone, entries_.end());
  return Save();
}

}  // namespace recebimento::integrations
