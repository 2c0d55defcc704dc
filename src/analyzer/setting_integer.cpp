#include "analyzer/setting_integer.h"

namespace vanalyzer {
namespace {
bool isWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
}  // namespace

bool SettingInteger::greaterThan(unsigned long long bound) const {
  if (negative) return false;
  const std::string boundDigits = std::to_string(bound);
  if (digits.size() != boundDigits.size()) return digits.size() > boundDigits.size();
  return digits > boundDigits;
}

std::optional<SettingInteger> parseSettingInteger(std::string_view text) {
  while (!text.empty() && isWhiteSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isWhiteSpace(text.back())) text.remove_suffix(1);
  SettingInteger value;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    value.negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  const size_t firstSignificant = text.find_first_not_of('0');
  value.digits = firstSignificant == std::string_view::npos ? "0" : std::string(text.substr(firstSignificant));
  if (value.digits == "0") value.negative = false;
  return value;
}

ThreadCountSetting decideThreadCount(const SettingInteger& poolSize) {
  return {poolSize.greaterThan(1), poolSize.greaterThan(31)};
}

}  // namespace vanalyzer
