#include "scene/scene_name.h"

#include "analyzer/analyzer.h"
#include "host/host_commands.h"
#include "host/module_globals.h"
#include "host/service.h"
#include "host/standard_output.h"
#include "python/caught_error.h"
#include "scene/argument_position.h"

namespace vanalyzer::scene {
namespace {

using host::LogLevel;

// argv[index], failing with the interpreter's own IndexError when the list is too short.
python::Ref argument(PyObject* arguments, std::size_t index) {
  return python::item(arguments, python::integer(static_cast<long long>(index)).get());
}

python::Ref decodeUtf8Argument(PyObject* entry) {
  python::Ref bytes = python::processArgumentBytes(host::moduleGlobal("os").get(), entry);
  return python::callMethod(bytes.get(), "decode", python::text("utf-8"));
}

// A Windows argument arrives as GBK (code page 936) bytes; text, or bytes that are not GBK, stay
// as they are.
python::Ref decodeGbkArgument(const python::Ref& entry) {
  python::Ref decoded = entry;
  if (python::isBytes(entry.get())) {
    python::guard([&] { decoded = python::callMethod(entry.get(), "decode", python::text("gbk")); },
                  [](const python::CaughtError&) {});
  }
  return decoded;
}

python::Ref sceneNameFromArguments(const Analyzer& analyzer, python::Ref name) {
  host::log(LogLevel::Warring, "Find sceneName is empty, try get from sysargs");
  python::Ref arguments = python::attribute(host::moduleGlobal("sys").get(), "argv");
  host::logFormat(LogLevel::Info, "argvs %s ", arguments);
  python::Ref platform = analyzer.get("platform");
  if (python::equal(platform.get(), python::text("Linux").get())) {
    if (const auto index = linuxSceneArgumentIndex(static_cast<std::size_t>(python::length(arguments.get())))) {
      name = decodeUtf8Argument(argument(arguments.get(), *index).get());
    }
  }
  if (python::equal(platform.get(), python::text("Windows").get())) {
    return decodeGbkArgument(argument(arguments.get(), kWindowsSceneArgumentIndex));
  }
  return name;
}

}  // namespace

python::Ref getSceneName(PyObject* self, PyObject* analyzerMode, PyObject*) {
  // Looked up as a Python dict would: 1.0 and True find mode 1, anything else is a KeyError.
  python::Ref resolvers = python::require(PyDict_New());
  const python::Ref fromMaya = python::text("getSceneNameFromMaya");
  python::requireStatus(PyObject_SetItem(resolvers.get(), python::integer(0).get(), fromMaya.get()));
  python::requireStatus(PyObject_SetItem(resolvers.get(), python::integer(1).get(), fromMaya.get()));
  python::Ref resolver = python::item(resolvers.get(), analyzerMode);
  return python::call(python::attribute(self, python::utf8(resolver.get()).c_str()).get());
}

python::Ref getSceneNameFromMaya(PyObject* self) {
  const Analyzer analyzer(self);
  python::Ref sceneName = python::Ref::borrow(Py_None);
  python::guard(
      [&] {
        python::Ref name = host::hostCommand("file", {}, {{"q", Py_True}, {"sn", Py_True}});
        sceneName = python::equal(name.get(), python::text("").get()) ? sceneNameFromArguments(analyzer, name)
                                                                     : name;
      },
      [&](const python::CaughtError& error) {
        host::logFormat(LogLevel::Error, "Get Scene Name Error:%s", error.message());
      });
  return sceneName;
}

python::Ref getSceneNameFromParms(PyObject*, PyObject* sceneName) {
  python::Ref opened = python::Ref::borrow(Py_None);
  python::guard(
      [&] {
        host::hostCommand("file", {sceneName}, {{"open", Py_True}, {"force", Py_True}});
        host::printLine(python::isText(sceneName) ? python::Ref::borrow(sceneName) : python::str(sceneName));
        opened = python::Ref::borrow(sceneName);
      },
      [&](const python::CaughtError& error) {
        host::logFormat(LogLevel::Error, "Failed Open Scene: %s", error.message());
      });
  return opened;
}

}  // namespace vanalyzer::scene
