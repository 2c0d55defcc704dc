#include "inspection/render_layers.h"

#include "analyzer/analyzer.h"
#include "host/host_commands.h"
#include "host/service.h"
#include "python/caught_error.h"

namespace vanalyzer::inspection {

using host::LogLevel;

python::Ref getAllCamInScene(PyObject*) {
  python::Ref cameras = python::newList();
  python::guard(
      [&] {
        python::Ref shapes = host::hostCommand("ls", {}, {{"type", python::text("camera").get()}});
        python::forEach(shapes.get(), [&](const python::Ref& shape) {
          python::Ref parents =
              host::hostCommand("listRelatives", {shape.get()}, {{"p", python::integer(1).get()},
                                                                 {"pa", python::integer(1).get()}});
          python::append(cameras.get(), python::item(parents.get(), python::integer(0).get()).get());
        });
      },
      [](const python::CaughtError& error) {
        host::logFormat(LogLevel::Error, "Failed to Get All Cams Info: %s.", error.message());
      });
  return cameras;
}

python::Ref getLayersInfo(PyObject*) {
  // The collector appends to this list in place, so records added before a failure are kept.
  python::Ref layers = python::newList();
  python::guard(
      [&] {
        host::log(LogLevel::Info, "Start to Get Layer Info.");
        python::Ref collector = python::callMethod(host::vfile().get(), "GetLayersInfo");
        python::callMethod(collector.get(), "getLayersInfo", layers);
        host::log(LogLevel::Info, "Get Layer Info Finish.");
      },
      [](const python::CaughtError& error) {
        host::logFormat(LogLevel::Error, "Failed To Get Layers Info: %s.", error.message());
      });
  return layers;
}

python::Ref isDefaultRenderLayer(PyObject*) {
  bool switched = false;
  python::guard(
      [&] {
        host::hostCommand("editRenderLayerGlobals", {},
                          {{"currentRenderLayer", python::text("defaultRenderLayer").get()}});
        switched = true;
      },
      [](const python::CaughtError&) {});
  return python::boolean(switched);
}

python::Ref get_PreFix(PyObject* self) {
  const Analyzer analyzer(self);
  python::Ref layers = analyzer.get("LayersInfo");
  if (python::length(layers.get()) == 0) return python::text("");
  python::Ref first = python::item(layers.get(), python::integer(0).get());
  return python::item(first.get(), python::text("layerFilePrefix").get());
}

}  // namespace vanalyzer::inspection
