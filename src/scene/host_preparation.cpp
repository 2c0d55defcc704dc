#include "scene/host_preparation.h"

#include "host/host_commands.h"
#include "host/module_globals.h"
#include "host/service.h"
#include "python/caught_error.h"

namespace vanalyzer::scene {

using host::LogLevel;

python::Ref loadSidePath(PyObject*, PyObject* analyzerMode) {
  host::logFormat(LogLevel::Info, "Script Loaded Mode: %s", python::Ref::borrow(analyzerMode));
  python::Ref environ = python::attribute(host::moduleGlobal("os").get(), "environ");
  python::Ref directory = python::callMethod(environ.get(), "get", python::text("VantorMaya"));
  // Without the variable there is no side directory to add; the path stays as it is.
  if (directory.get() != Py_None) {
    python::Ref path = python::attribute(host::moduleGlobal("sys").get(), "path");
    python::append(path.get(), directory.get());
  }
  return python::Ref::borrow(Py_None);
}

python::Ref initSceneAssemblyPlugins(PyObject*) {
  python::guard(
      [] {
        host::log(LogLevel::Info, "Start Loading SceneAssembly Plugin.");
        host::hostCommand("loadPlugin", {python::text("sceneAssembly").get()});
        host::hostCommand("loadPlugin", {python::text("gpuCache").get()});
        host::log(LogLevel::Info, "Load SceneAssembly Plugin End.");
      },
      [](const python::CaughtError&) {
        host::log(LogLevel::Warring, "Load \"sceneAssembly\" and \"gpuCache\" Plugin has Error.");
      });
  return python::Ref::borrow(Py_None);
}

python::Ref checkPlatform(PyObject*) {
  python::Ref system = python::Ref::borrow(Py_None);
  python::guard(
      [&] {
        python::Ref platform = host::moduleGlobal("platform");
        host::logFormat(LogLevel::Info, "Current system OS is: %s", python::callMethod(platform.get(), "system"));
        system = python::callMethod(platform.get(), "system");
      },
      [&](const python::CaughtError& error) {
        host::logFormat(LogLevel::Error, "CheckPlatform Error:%s", error.message());
      });
  return system;
}

}  // namespace vanalyzer::scene
