#include "analyzer/analyzer.h"

#include "analyzer/status_rule.h"

namespace vanalyzer {

void Analyzer::recordStatus(long long status) const {
  set("status", python::integer(combineStatus(python::asInteger(get("status").get()), status)));
}

void Analyzer::appendErrorCode(const python::Ref& code) const {
  python::append(get("errorCodes").get(), code.get());
}

void Analyzer::appendErrorCode(int code) const { appendErrorCode(python::integer(code)); }

}  // namespace vanalyzer
