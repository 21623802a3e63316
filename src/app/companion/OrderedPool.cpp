#include "app/companion/OrderedPool.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace rh {

namespace {

// Worker threads taking jobs in turn; the reading thread waits for them in the table's order.
class Workers {
 public:
  Workers(unsigned count, std::size_t slots, const std::function<void(std::size_t, unsigned)>& run)
      : run_(run), done_(slots, false) {
    for (unsigned i = 0; i < count; ++i)
      threads_.emplace_back([this, i] { Work(i); });
  }
  Workers(const Workers&) = delete;
  Workers& operator=(const Workers&) = delete;
  ~Workers() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_)
      thread.join();
  }

  void Submit(std::size_t slot) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      done_[slot] = false;
      queue_.push_back(slot);
    }
    wake_.notify_one();
  }

  // Waits until the job in `slot` is done; an error no job could report (out of memory) is raised
  // here.
  void Wait(std::size_t slot) {
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [&] { return done_[slot] || error_; });
    if (error_)
      std::rethrow_exception(error_);
  }

 private:
  void Work(unsigned thread) {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
      if (stop_)
        return;
      const std::size_t slot = queue_.front();
      queue_.pop_front();
      lock.unlock();
      std::exception_ptr error;
      try {
        run_(slot, thread);
      } catch (...) {
        error = std::current_exception();
      }
      lock.lock();
      done_[slot] = true;
      if (error && !error_)
        error_ = error;
      finished_.notify_all();
    }
  }

  const std::function<void(std::size_t, unsigned)>& run_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable finished_;
  std::deque<std::size_t> queue_;
  std::vector<bool> done_;  // by slot
  std::exception_ptr error_;
  bool stop_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace

void RunInOrder(unsigned threads, std::size_t slots, const std::function<bool(std::size_t)>& fill,
                const std::function<void(std::size_t, unsigned)>& run,
                const std::function<void(std::size_t)>& report) {
  if (threads <= 1 || slots <= 1) {
    while (fill(0)) {
      run(0, 0);
      report(0);
    }
    return;
  }
  Workers workers(threads, slots, run);
  std::size_t submitted = 0;  // jobs handed out so far
  std::size_t reported = 0;
  bool more = true;
  while (more || reported < submitted) {
    if (more && submitted - reported < slots) {
      const std::size_t slot = submitted % slots;
      more = fill(slot);
      if (more) {
        workers.Submit(slot);
        ++submitted;
      }
      continue;
    }
    const std::size_t slot = reported % slots;
    workers.Wait(slot);
    report(slot);
    ++reported;
  }
}

}  // namespace rh
