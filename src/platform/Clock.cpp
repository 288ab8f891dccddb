#include "platform/Clock.h"

#include <ctime>

namespace quorvex {

DateTime CurrentUtcTime() {
  std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  return {static_cast<std::uint16_t>(utc.tm_year + 1900), static_cast<std::uint8_t>(utc.tm_mon + 1),
          static_cast<std::uint8_t>(utc.tm_mday),         static_cast<std::uint8_t>(utc.tm_hour),
          static_cast<std::uint8_t>(utc.tm_min),          static_cast<std::uint8_t>(utc.tm_sec)};
}

}  // namespace quorvex
