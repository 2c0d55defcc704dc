// Skip paths: configured patterns whose matching files are left out of the accounting.
#pragma once

#include <optional>
#include <vector>

#include "python/caught_error.h"
#include "python/ref.h"

namespace vanalyzer::analysis {

// The configured skip-path text ("" when the configuration has none); logs what it found.
python::Ref readSkipPathSetting();

class SkipPaths {
 public:
  // Compiles each piece of the setting once for the run. A piece that is not a valid regular
  // expression is logged and ignored, so that the other pieces still filter.
  static SkipPaths prepare(const python::Ref& setting);

  // Filtering takes place whenever the setting is not the empty text.
  bool configured() const { return configured_; }

  // Searches the path for every piece, logging each match; true when the file is to be left out.
  bool leavesOut(const python::Ref& path) const;

 private:
  bool configured_ = false;
  std::vector<python::Ref> patterns_;
  // A setting that is not text cannot be split; each file meets that failure.
  std::optional<python::CaughtError> unusable_;
};

}  // namespace vanalyzer::analysis
