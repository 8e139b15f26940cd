#include "host/pos/tef_exchange_folder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fmt/format.h>

#include "base/atomic_file.h"
#include "base/text.h"

namespace recebimento::pos {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> IntPosFiles(const std::string& dir) {
  std::vector<std::string> out;
  std::error_code ec;
  if (dir.empty() || !fs::is_directory(dir, ec)) return out;
  for (const auto& e : fs::directory_iterator(dir, ec))
    if (e.is_regular_file(ec) && IsIntPosName(e.path().filename().string()))
      out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

std::string ReadWhole(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool IsFieldCode(const std::string& code) {
  if (code.size() != 7 || code[3] != '-') return false;
  for (size_t i = 0; i < code.size(); ++i)
    if (i != 3 && (code[i] < '0' || code[i] > '9')) return false;
  return true;
}

}  // namespace

bool IsIntPosName(const std::string& file_name) {
  constexpr std::string_view kPrefix = "intpos.";
  if (file_name.size() <= kPrefix.size() || !base::IStartsWith(file_name, kPrefix)) return false;
  return std::all_of(file_name.begin() + static_cast<std::ptrdiff_t>(kPrefix.size()), file_name.end(),
                     [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<IntPosFile> ReadIntPos(const std::string& text) {
  IntPosFile file;
  bool header = false;
  for (std::string line : base::Split(text, "\n")) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (base::Trim(line).empty()) continue;
    const size_t eq = line.find('=');
    if (eq == std::string::npos) return std::nullopt;
    const std::string code = base::Trim(line.substr(0, eq));
    const std::string value = base::Trim(line.substr(eq + 1));
    if (!IsFieldCode(code)) return std::nullopt;
    if (code == "000-000") {
      file.header = value;
      header = true;
    } else if (code == "001-000") {
      file.id = value;
    } else if (code == "002-000") {
      file.document = value;
    } else if (code == "003-000") {
      file.amount = value;
    } else if (code == "010-000") {
      file.brand = value;
    } else if (code == "012-000") {
      file.host_nsu = value;
    }
  }
  if (!header) return std::nullopt;
  return file;
}

std::string WriteIntPos(const IntPosFile& f) {
  std::string text = "000-000 = " + f.header + "\n";
  if (!f.id.empty()) text += "001-000 = " + f.id + "\n";
  if (!f.document.empty()) text += "002-000 = " + f.document + "\n";
  text += "003-000 = " + f.amount + "\n";
  text += "010-000 = " + f.brand + "\n";
  text += "012-000 = " + f.host_nsu + "\n";
  return text;
}

TefExchangeFolder::TefExchangeFolder(std::string exchange_dir, std::string pending_dir)
    : exchange_dir_(std::move(exchange_dir)), pending_dir_(std::move(pending_dir)) {}

std::string TefExchangeFolder::WriteUnconfirmed(const std::string& host_nsu, double amount,
                                                const std::string& brand_code) {
  if (exchange_dir_.empty()) return {};
  fs::create_directories(exchange_dir_);
  std::string name;
  do {
    name = fmt::format("intpos.{:03d}", next_number_++);
  } while (fs::exists(fs::path(exchange_dir_) / name));
  IntPosFile file;
  file.header = "CRT";
  file.id = name.substr(7);
  file.amount = fmt::format("{:.2f}", amount);
  file.brand = brand_code;
  file.host_nsu = host_nsu;
  base::WriteFileAtomically((fs::path(exchange_dir_) / name).string(), WriteIntPos(file),
                            base::Durability::ProcessDeath);
  return name;
}

int TefExchangeFolder::MoveToPending() {
  if (pending_dir_.empty() || pending_dir_ == exchange_dir_) return static_cast<int>(Unconfirmed().size());
  int moved = 0;
  for (const auto& name : Unconfirmed()) {
    fs::create_directories(pending_dir_);
    base::WriteFileAtomically((fs::path(pending_dir_) / name).string(), ReadWhole(fs::path(exchange_dir_) / name),
                              base::Durability::ProcessDeath);
    ++moved;
  }
  return moved;
}

int TefExchangeFolder::MarkSaleClosed(const std::string& document) {
  int marked = 0;
  for (const std::string& dir : {exchange_dir_, pending_dir_}) {
    for (const auto& name : IntPosFiles(dir)) {
      const fs::path path = fs::path(dir) / name;
      std::optional<IntPosFile> file = ReadIntPos(ReadWhole(path));
      // An empty document takes the mark back: the sale's receipt was cancelled.
      if (!file || file->document.empty() == document.empty()) continue;
      file->document = document;
      base::WriteFileAtomically(path.string(), WriteIntPos(*file), base::Durability::ProcessDeath);
      if (dir == exchange_dir_) ++marked;
    }
    if (pending_dir_ == exchange_dir_) break;
  }
  return marked;
}

int TefExchangeFolder::RemoveAll() {
  int removed = 0;
  for (const auto& name : Unconfirmed()) removed += fs::remove(fs::path(exchange_dir_) / name) ? 1 : 0;
  if (pending_dir_ != exchange_dir_)
    for (const auto& name : Pending()) fs::remove(fs::path(pending_dir_) / name);
  return removed;
}

bool TefExchangeFolder::CancelOne(const std::string& name) {
  if (!IsIntPosName(name)) return false;
  std::error_code ec;
  const bool removed = fs::remove(fs::path(exchange_dir_) / name, ec);
  if (pending_dir_ != exchange_dir_ && !pending_dir_.empty()) fs::remove(fs::path(pending_dir_) / name, ec);
  return removed;
}

int TefExchangeFolder::ConfirmAll() { return RemoveAll(); }
int TefExchangeFolder::CancelAll() { return RemoveAll(); }

TefExchangeFolder::Resolution TefExchangeFolder::ResolveLeftOver() {
  Resolution r;
  // The exchange folder holds every unconfirmed answer; the pending folder only copies.
  std::vector<std::string> names = Unconfirmed();
  const bool own_pending = pending_dir_ != exchange_dir_ && !pending_dir_.empty();
  for (const auto& name : own_pending ? Pending() : std::vector<std::string>{})
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  for (const auto& name : names) {
    std::error_code ec;
    fs::path path = fs::path(exchange_dir_) / name;
    if (!fs::exists(path, ec)) path = fs::path(pending_dir_) / name;
    const std::optional<IntPosFile> file = ReadIntPos(ReadWhole(path));
    if (file && !file->document.empty())
      ++r.confirmed;
    else
      ++r.undone;
    fs::remove(fs::path(exchange_dir_) / name, ec);
    if (own_pending) fs::remove(fs::path(pending_dir_) / name, ec);
  }
  return r;
}

std::vector<std::string> TefExchangeFolder::Unconfirmed() const { return IntPosFiles(exchange_dir_); }
std::vector<std::string> TefExchangeFolder::Pending() const { return IntPosFiles(pending_dir_); }

}  // namespace recebimento::pos
