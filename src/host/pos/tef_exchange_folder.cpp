#include "host/pos/tef_exchange_folder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <fmt/format.h>

namespace recebimento::pos {

namespace fs = std::filesystem;

namespace {

bool IsIntPos(const fs::path& p) { return p.filename().string().rfind("intpos.", 0) == 0; }

std::vector<std::string> IntPosFiles(const std::string& dir) {
  std::vector<std::string> out;
  std::error_code ec;
  if (dir.empty() || !fs::is_directory(dir, ec)) return out;
  for (const auto& e : fs::directory_iterator(dir, ec))
    if (e.is_regular_file() && IsIntPos(e.path())) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace

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
  std::ofstream out(fs::path(exchange_dir_) / name, std::ios::trunc);
  out << "000-000 = CRT\n"
      << "012-000 = " << host_nsu << "\n"
      << "003-000 = " << fmt::format("{:.2f}", amount) << "\n"
      << "010-000 = " << brand_code << "\n";
  out.flush();
  if (!out) throw std::runtime_error("card terminal: cannot write " + (fs::path(exchange_dir_) / name).string());
  return name;
}

int TefExchangeFolder::MoveToPending() {
  if (pending_dir_.empty() || pending_dir_ == exchange_dir_) return static_cast<int>(Unconfirmed().size());
  int moved = 0;
  for (const auto& name : Unconfirmed()) {
    fs::create_directories(pending_dir_);
    fs::copy_file(fs::path(exchange_dir_) / name, fs::path(pending_dir_) / name, fs::copy_options::overwrite_existing);
    ++moved;
  }
  return moved;
}

int TefExchangeFolder::RemoveAll() {
  int removed = 0;
  for (const auto& name : Unconfirmed()) removed += fs::remove(fs::path(exchange_dir_) / name) ? 1 : 0;
  if (pending_dir_ != exchange_dir_)
    for (const auto& name : Pending()) fs::remove(fs::path(pending_dir_) / name);
  return removed;
}

int TefExchangeFolder::ConfirmAll() { return RemoveAll(); }
int TefExchangeFolder::CancelAll() { return RemoveAll(); }

std::vector<std::string> TefExchangeFolder::Unconfirmed() const { return IntPosFiles(exchange_dir_); }
std::vector<std::string> TefExchangeFolder::Pending() const { return IntPosFiles(pending_dir_); }

}  // namespace recebimento::pos
