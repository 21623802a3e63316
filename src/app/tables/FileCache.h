// What was made from files (a table read, or the message of a read that failed), kept by key so a
// file named again is not read again, in a bounded number of entries: once the cache is full, the
// entry used longest ago makes way, and its file is read again when it is named next.
#pragma once

#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace rh {

template <typename Value>
class FileCache {
 public:
  // Keys longer than this are never kept: no path a file can be opened by is that long, so such an
  // entry is a failure made again at no cost, and keeping it would let a key's size fill memory.
  static constexpr std::size_t kMostKeyBytes = 4096;

  // A cache of at most `most` entries (at least one).
  explicit FileCache(std::size_t most) : most_(most == 0 ? 1 : most) {}
  FileCache(const FileCache&) = delete;
  FileCache& operator=(const FileCache&) = delete;

  // The value kept for `key`, or else `make()`'s, which is kept. What `make` throws reaches the
  // caller and nothing is kept.
  template <typename Make>
  Value Get(const std::string& key, Make&& make) {
    if (const auto found = index_.find(key); found != index_.end()) {
      entries_.splice(entries_.begin(), entries_, found->second);  // now the latest used
      return found->second->second;
    }
    Value value = make();
    if (key.size() > kMostKeyBytes)
      return value;
    if (entries_.size() == most_) {
      index_.erase(entries_.back().first);
      entries_.pop_back();
    }
    entries_.emplace_front(key, value);
    index_.emplace(entries_.front().first, entries_.begin());
    return value;
  }

  std::size_t Size() const { return entries_.size(); }

 private:
  using Entries = std::list<std::pair<std::string, Value>>;
  std::size_t most_;
  Entries entries_;                                                         // the latest used first
  std::unordered_map<std::string_view, typename Entries::iterator> index_;  // keys in entries_
};

}  // namespace rh
