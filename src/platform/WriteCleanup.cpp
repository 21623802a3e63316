// The table of temporary files in flight, the same on every host. The host's side (its handlers,
// removing a file, a short pause) is in WriteCleanupPosix.cpp or windows/WriteCleanup.cpp.
#include "platform/WriteCleanup.h"

#include <atomic>
#include <cstring>

namespace rh {

namespace {

// A slot is free, being filled by a writer, holding a path, or claimed by the handler. Only the
// handler claims, so a writer never has its slot rewritten under it and the handler never reads a
// path while it is being written.
enum SlotState : int { kFree, kFilling, kHeld, kClaimed };

// Every member has its initializer, so the table is constant-initialized (all zero, left to the
// loader): a table initialized at start-up would touch its megabyte, page by page, in every run.
struct Slot {
  std::atomic<int> state{kFree};
  char path[kMaxTemporaryPath] = {};
};

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "slot states must be usable in a handler");

Slot g_slots[kMaxTemporaries];
std::atomic<int> g_nextSlot{0};  // where the next search for a free slot starts
// Set by the handler: no temporary is made any more. Threads between the registration and the
// creation of a temporary are counted, so the handler removes their files only once they exist.
std::atomic<bool> g_ending{false};
std::atomic<int> g_creating{0};

}  // namespace

int RegisterTemporary(const char* path) noexcept {
  const std::size_t length = std::strlen(path);
  if (length >= kMaxTemporaryPath)
    return -1;
  const int start = g_nextSlot.load(std::memory_order_relaxed);
  for (int i = 0; i < kMaxTemporaries; ++i) {
    const int slot = (start + i) % kMaxTemporaries;
    int expected = kFree;
    if (g_slots[slot].state.compare_exchange_strong(expected, kFilling,
                                                    std::memory_order_acquire)) {
      std::memcpy(g_slots[slot].path, path, length + 1);
      g_slots[slot].state.store(kHeld, std::memory_order_release);
      g_nextSlot.store((slot + 1) % kMaxTemporaries, std::memory_order_relaxed);
      return slot;
    }
  }
  return -1;
}

bool BeginCreatingTemporary() noexcept {
  g_creating.fetch_add(1);
  if (g_ending.load()) {
    g_creating.fetch_sub(1);
    return false;
  }
  return true;
}

void EndCreatingTemporary() noexcept {
  g_creating.fetch_sub(1);
}

void ForgetTemporary(int slot) noexcept {
  if (slot < 0 || slot >= kMaxTemporaries)
    return;
  // Fails only when the handler has claimed the slot; the process is then ending.
  int expected = kHeld;
  g_slots[slot].state.compare_exchange_strong(expected, kFree, std::memory_order_release);
}

void RemoveRegisteredTemporaries() noexcept {
  for (Slot& slot : g_slots) {
    int expected = kHeld;
    if (slot.state.compare_exchange_strong(expected, kClaimed, std::memory_order_acquire)) {
      RemoveTemporaryFile(slot.path);
      slot.state.store(kFree, std::memory_order_release);
    }
  }
}

void EndWritesAndRemoveTemporaries() noexcept {
  g_ending.store(true);
  // Other threads run on meanwhile (a batch writes on several): wait, two seconds at most, for
  // those that are making a temporary file.
  for (int waited = 0; g_creating.load() > 0 && waited < 2000; ++waited)
    PauseOneMillisecond();
  RemoveRegisteredTemporaries();
}

}  // namespace rh
