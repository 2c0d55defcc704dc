// Integer run settings as the service's client writes them into the environment.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vanalyzer {

// A decimal integer of any size: an optional minus sign and its digits without leading zeros.
struct SettingInteger {
  bool negative = false;
  std::string digits;  // "0" for zero

  std::string decimal() const { return negative ? "-" + digits : digits; }
  // True when the value is greater than `bound` (bound >= 0).
  bool greaterThan(unsigned long long bound) const;
};

// Accepts a decimal integer with an optional sign, leading zeros and white space before and after;
// anything else (an empty value, a fraction, an exponent, digit separators) is malformed.
std::optional<SettingInteger> parseSettingInteger(std::string_view text);

// What the thread-count setting does with its parsed value.
struct ThreadCountSetting {
  bool enablesMultiThreading;  // the pool is larger than one worker
  bool capped;                 // the pool is limited to 32 workers
};
ThreadCountSetting decideThreadCount(const SettingInteger& poolSize);

}  // namespace vanalyzer
