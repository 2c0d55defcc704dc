// The accounted files of one run (refiles) and their total size.
#pragma once

#include <cstddef>
#include <cstdint>

#include "analysis/size_prefetch.h"
#include "python/ref.h"

namespace vanalyzer::analysis {

// Every distinct on-disk path is sized, listed and recorded once: a path reached again (two
// references that normalise alike, a ".tx" texture that is its own companion) adds nothing, so
// that the total size agrees with the file count.
class AccountedFiles {
 public:
  AccountedFiles();

  // A referenced file: a size that cannot be read is logged and the file is still listed and
  // recorded, without its size. Its size may come from entry index of a prefetch.
  void account(const python::Ref& path, SizePrefetch* prefetch = nullptr, std::size_t index = 0);
  // A companion file: a size that cannot be read is raised to the caller, nothing added.
  void accountCompanion(const python::Ref& path);

  // Drops the empty text and the current directory from the list, logs the totals and returns
  // the set of accounted paths.
  python::Ref finish();

 private:
  bool contains(const python::Ref& path) const;
  void record(const python::Ref& path) const;

  python::Ref refiles_;
  python::Ref recordAssets_;  // vout.RecordAssets, looked up once per run
  std::int64_t totalSize_ = 0;
};

}  // namespace vanalyzer::analysis
