#include "analysis/output_settings.h"

#include "host/service.h"
#include "python/caught_error.h"

namespace vanalyzer::analysis {

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
        // Prefixes that agree ignoring case agree with the first of them: one pass, every layer's
        // prefix still read and lowered in order, so a layer that cannot answer fails as before.
        python::Ref lowered;
        bool differ = false;
        python::forEach(layers.get(), [&](const python::Ref& layer) {
          const python::Ref layerPrefix = python::item(layer.get(), key.get());
          if (layerPrefix.get() == Py_None) return;
          python::Ref layerLowered = python::callMethod(layerPrefix.get(), "lower");
          if (!lowered)
            lowered = std::move(layerLowered);
          else if (!differ)
            differ = !python::equal(lowered.get(), layerLowered.get());
        });
        prefix = differ || first.get() == Py_None ? python::text("") : first;
      },
      [&](const python::CaughtError& failure) {
        prefix = python::text("");
        host::logFormat(host::LogLevel::Debug, "compare prefix err:%s", failure.message());
      });
  return prefix;
}

}  // namespace vanalyzer::analysis
