#include "analysis/accounted_files.h"

#include "analysis/file_queries.h"
#include "host/module_globals.h"
#include "host/service.h"
#include "python/caught_error.h"
#include "python/objects.h"

namespace vanalyzer::analysis {

using host::LogLevel;

AccountedFiles::AccountedFiles()
    : refiles_(python::require(PySet_New(nullptr))),
      recordAssets_(python::attribute(host::vout().get(), "RecordAssets")) {}

bool AccountedFiles::contains(const python::Ref& path) const {
  return python::requireStatus(PySet_Contains(refiles_.get(), path.get())) == 1;
}

void AccountedFiles::record(const python::Ref& path) const { python::callWithOne(recordAssets_.get(), path.get()); }

void AccountedFiles::account(const python::Ref& path, SizePrefetch* prefetch, std::size_t index) {
  if (contains(path)) return;
  python::guard([&] { totalSize_ += sizeOf(path.get(), prefetch, index); },
                [&](const python::CaughtError& failure) {
                  host::logFormat(LogLevel::Error, "Get file size err:%s", failure.representation());
                  host::log(LogLevel::Error, path);
                });
  python::requireStatus(PySet_Add(refiles_.get(), path.get()));
  record(path);
}

void AccountedFiles::accountCompanion(const python::Ref& path) {
  if (contains(path)) return;
  totalSize_ += sizeOf(path.get());
  record(path);
  python::requireStatus(PySet_Add(refiles_.get(), path.get()));
}

python::Ref AccountedFiles::finish() {
  python::requireStatus(PySet_Discard(refiles_.get(), python::text("").get()));
  python::Ref currentDirectory = python::callMethod(host::moduleGlobal("os").get(), "getcwd");
  python::requireStatus(PySet_Discard(refiles_.get(), currentDirectory.get()));
  host::logFormat(LogLevel::Info, "pelk-fileInfo-total:::>fileCount: %d, fileSize: %d",
                  python::integer(python::length(refiles_.get())), python::integer(totalSize_));
  return refiles_;
}

}  // namespace vanalyzer::analysis
