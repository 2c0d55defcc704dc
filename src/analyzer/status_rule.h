// How a newly recorded status combines with the one the analyzer holds.
#pragma once

namespace vanalyzer {

constexpr int kStatusClean = 0;
constexpr int kStatusWarning = 1;
constexpr int kStatusError = 2;

// A recorded status replaces the earlier one, except that a warning never lowers an error:
// a scene that cannot be rendered must not be reported as renderable.
long long combineStatus(long long current, long long recorded);

}  // namespace vanalyzer
