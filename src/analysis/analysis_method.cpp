#include "analysis/analysis_method.h"

#include "analysis/result_record.h"

namespace vanalyzer::analysis {

python::Ref AnlyzerSenceFile(PyObject* self) {
  const Analyzer analyzer(self);
  python::Ref accountedFiles = python::require(PySet_New(nullptr));
  return finishAnalysis(analyzer, {accountedFiles, python::text("exr"), python::text("")});
}

}  // namespace vanalyzer::analysis
