// Today's date as the outputs stamp it, and the moment a document is made.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace rh {

class Clock {
 public:
  virtual ~Clock() = default;
  // Today's date (no time of day) in the system's short date form.
  virtual std::string ShortDate() = 0;
  // Now, as seconds after 1970-01-01 00:00 UTC (a PDF document's creation date).
  virtual std::int64_t UtcSeconds() = 0;
};

// A clock that gives one date it was handed: a date asked of the host once for many outputs (a
// batch's rows on several threads), or one the caller brings (the browser page's).
class FixedClock : public Clock {
 public:
  explicit FixedClock(std::string date, std::int64_t utcSeconds = 0)
      : date_(std::move(date)), utcSeconds_(utcSeconds) {}
  std::string ShortDate() override { return date_; }
  std::int64_t UtcSeconds() override { return utcSeconds_; }

 private:
  std::string date_;
  std::int64_t utcSeconds_;
};

}  // namespace rh
