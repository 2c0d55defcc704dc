#include "analyzer/status_rule.h"

namespace vanalyzer {

long long combineStatus(long long current, long long recorded) {
  if (current == kStatusError && recorded == kStatusWarning) return kStatusError;
  return recorded;
}

}  // namespace vanalyzer
