#include "analysis/output_settings.h"

#include "host/service.h"
#include "python/caught_error.h"

namespace vanalyzer::analysis {
namespace {

bool differIgnoringCase(PyObject* left, PyObject* right) {
  return !python::equal(python::callMethod(left, "lower").get(), python::callMethod(right, "lower").get());
}

}  // namespace

python::Ref outputExtension(const Analyzer& analyzer) {
  const python::Ref extKey = python::text("ext");
  const python::Ref exr = python::text("exr");
  python::Ref layers = analyzer.get("LayersInfo");
  python::Ref iterator = python::require(PyObject_GetIter(layers.get()));
  while (python::Ref layer = python::Ref::steal(PyIter_Next(iterator.get()))) {
    python::Ref layerExtension = python::callMethod(python::item(layer.get(), extKey.get()).get(), "lower");
    if (!python::equal(layerExtension.get(), exr.get())) return python::text("");
  }
  if (PyErr_Occurred()) throw python::Error();
  return exr;
}

python::Ref commonLayerPrefix(const Analyzer& analyzer) {
  python::Ref prefix = python::text("");
  python::guard(
      [&] {
        const python::Ref key = python::text("layerFilePrefix");
        python::Ref layers = analyzer.get("LayersInfo");
        python::Ref first = python::item(python::itemAt(layers.get(), 0).get(), key.get());
        prefix = first.get() == Py_None ? python::text("") : first;
        python::forEach(layers.get(), [&](const python::Ref& a) {
          python::Ref iterator = python::require(PyObject_GetIter(layers.get()));
          while (python::Ref b = python::Ref::steal(PyIter_Next(iterator.get()))) {
            python::Ref prefixA = python::item(a.get(), key.get());
            python::Ref prefixB = python::item(b.get(), key.get());
            if (prefixA.get() != Py_None && prefixB.get() != Py_None &&
                differIgnoringCase(prefixA.get(), prefixB.get())) {
              prefix = python::text("");
              return;
            }
          }
          if (PyErr_Occurred()) throw python::Error();
        });
      },
      [&](const python::CaughtError& failure) {
        prefix = python::text("");
        host::logFormat(host::LogLevel::Debug, "compare prefix err:%s", failure.message());
      });
  return prefix;
}

}  // namespace vanalyzer::analysis
