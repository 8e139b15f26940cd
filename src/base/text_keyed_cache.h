#pragma once
// What was made of a file's text, kept while the file's text stays the same. A host's
// settings files are read on every call and change only when the store's settings do:
// the file is still read each time (an edit is never missed, whatever its size or time
// stamp), but unchanged text is not parsed again.
#include <cstddef>
#include <list>
#include <mutex>
#include <optional>
#include <string>

namespace recebimento::base {

template <typename T>
class TextKeyedCache {
 public:
  // At most `most_entries` files, none of text longer than `largest_text`.
  TextKeyedCache(std::size_t most_entries, std::size_t largest_text)
      : most_entries_(most_entries), largest_text_(largest_text) {}

  // What was made of `text` when `path` last had it; nullopt otherwise.
  std::optional<T> Find(const std::string& path, const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
      if (it->path != path) continue;
      if (it->text != text) {
        entries_.erase(it);
        return std::nullopt;
      }
      entries_.splice(entries_.begin(), entries_, it);
      return it->value;
    }
    return std::nullopt;
  }

  void Remember(const std::string& path, std::string text, const T& value) {
    if (text.size() > largest_text_) return;
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.push_front(Entry{path, std::move(text), value});
    if (entries_.size() > most_entries_) entries_.pop_back();
  }

 private:
  struct Entry {
    std::string path;
    std::string text;
    T value;
  };
  const std::size_t most_entries_;
  const std::size_t largest_text_;
  std::mutex mutex_;
  std::list<Entry> entries_;  // the most recently used first
};

}  // namespace recebimento::base
