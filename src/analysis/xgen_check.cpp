#include "analysis/xgen_check.h"

#include "host/host_commands.h"
#include "host/service.h"

namespace vanalyzer::analysis {
namespace {

// "文件包含: %s个XgenNodes, 只解析到: %s个Xgen描述  " — the file holds %s XGen nodes, only %s XGen
// descriptions were resolved.
constexpr const char* kCountLine =
    "\xe6\x96\x87\xe4\xbb\xb6\xe5\x8c\x85\xe5\x90\xab: %s\xe4\xb8\xaaXgenNodes, "
    "\xe5\x8f\xaa\xe8\xa7\xa3\xe6\x9e\x90\xe5\x88\xb0: %s\xe4\xb8\xaaXgen\xe6\x8f\x8f\xe8\xbf\xb0  ";
// "丢失描述Xgen节点:%s" — the XGen node lacks its description.
constexpr const char* kMissingLine =
    "\xe4\xb8\xa2\xe5\xa4\xb1\xe6\x8f\x8f\xe8\xbf\xb0Xgen\xe8\x8a\x82\xe7\x82\xb9:%s";

// Unicode on both lines, so that node names of either kind join the Chinese text.
template <class... Arguments>
python::Ref unicodeLine(const char* formatText, const Arguments&... arguments) {
  python::Ref line = python::require(
      PyNumber_Remainder(python::unicodeText(formatText).get(), python::tupleOf({arguments.get()...}).get()));
  return python::concatenate(line.get(), python::unicodeText("\r\n").get());
}

}  // namespace

void checkXgenDescriptions(const Analyzer& analyzer) {
  if (!python::isTrue(python::callMethod(host::vutils().get(), "isPluginExist", python::text("xgenToolkit")).get())) {
    return;
  }
  host::log(host::LogLevel::Debug, "Checking Xgen Description.");
  python::Ref xgen = python::importModule("xgenm");
  python::Ref nodes = host::hostCommand("ls", {}, {{"type", python::text("xgmPalette").get()}});
  python::Ref described = python::callMethod(xgen.get(), "palettes");
  const Py_ssize_t nodeCount = python::length(nodes.get());
  const Py_ssize_t describedCount = python::length(described.get());
  if (nodeCount == 0 || describedCount == nodeCount) return;

  auto appendDetail = [&](const python::Ref& line) {
    analyzer.set("details", python::concatenate(analyzer.get("details").get(), line.get()));
  };
  appendDetail(unicodeLine(kCountLine, python::integer(nodeCount), python::integer(describedCount)));
  python::Ref reported = python::require(PySet_New(nullptr));
  python::forEach(nodes.get(), [&](const python::Ref& node) {
    if (python::contains(described.get(), node.get())) return;
    if (python::requireStatus(PySet_Contains(reported.get(), node.get()))) return;
    python::requireStatus(PySet_Add(reported.get(), node.get()));
    appendDetail(unicodeLine(kMissingLine, node));
  });
}

}  // namespace vanalyzer::analysis
