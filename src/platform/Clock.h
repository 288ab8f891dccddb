#pragma once
// The clock: the current date and time in UTC.

#include <cstdint>

namespace quorvex {

/// A calendar date and time of day.
struct DateTime {
  std::uint16_t Year = 0;
  std::uint8_t Month = 0;
  std::uint8_t Day = 0;
  std::uint8_t Hour = 0;
  std::uint8_t Minute = 0;
  std::uint8_t Second = 0;
  bool operator==(const DateTime&) const = default;
};

/// The current date and time in UTC.
DateTime CurrentUtcTime();

}  // namespace quorvex
