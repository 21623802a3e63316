// Today's date as the outputs stamp it.
#pragma once

#include <string>
#include <utility>

namespace rh {

class Clock {
 public:
  virtual ~Clock() = default;
  // Today's date (no time of day) in the system's short date form.
  virtual std::string ShortDate() = 0;
};

// A clock that gives one date it was handed: a date asked of the host once for many outputs (a
// batch's rows on several threads), or one the caller brings (the browser page's).
class FixedClock : public Clock {
 public:
  explicit FixedClock(std::string date) : date_(std::move(date)) {}
  std::string ShortDate() override { return date_; }

 private:
  std::string date_;
};

}  // namespace rh
