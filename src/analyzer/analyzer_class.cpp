#include "analyzer/analyzer_class.h"

#include "analysis/analysis_method.h"
#include "analyzer/call_arguments.h"
#include "analyzer/construction.h"
#include "inspection/machine_type.h"
#include "inspection/render_layers.h"
#include "inspection/scene_checks.h"
#include "inspection/vray_machine.h"
#include "python/caught_error.h"
#include "python/objects.h"
#include "scene/host_preparation.h"
#include "scene/scene_name.h"

namespace vanalyzer {
namespace {

using NoArgumentOperation = python::Ref (*)(PyObject*);
using OneArgumentOperation = python::Ref (*)(PyObject*, PyObject*);
using TwoArgumentOperation = python::Ref (*)(PyObject*, PyObject*, PyObject*);

template <NoArgumentOperation Operation>
PyObject* withoutArguments(PyObject* self, PyObject*) noexcept {
  return python::entry([&] { return Operation(self); });
}

// Operations with parameters take them by position or by name, with the interpreter's errors.
template <OneArgumentOperation Operation, const char* Name, const char* Parameter>
PyObject* withOneArgument(PyObject* self, PyObject* positional, PyObject* keywords) noexcept {
  return python::entry([&] {
    const auto arguments = bindArguments({Name, {Parameter}, 1, 1}, positional, keywords);
    return Operation(self, arguments[0].get());
  });
}

template <TwoArgumentOperation Operation, const char* Name, const char* First, const char* Second>
PyObject* withTwoArguments(PyObject* self, PyObject* positional, PyObject* keywords) noexcept {
  return python::entry([&] {
    const auto arguments = bindArguments({Name, {First, Second}, 2, 1}, positional, keywords);
    return Operation(self, arguments[0].get(), arguments[1].get());
  });
}

PyObject* initialise(PyObject* self, PyObject* positional, PyObject* keywords) noexcept {
  return python::entry([&] { return constructAnalyzer(self, positional, keywords); });
}

template <class Function>
PyCFunction asMethod(Function function) {
  return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(function));
}

constexpr char kLoadSidePath[] = "loadSidePath";
constexpr char kGetSceneName[] = "getSceneName";
constexpr char kGetSceneNameFromParms[] = "getSceneNameFromParms";
constexpr char kAnalyzerMode[] = "analyzerMode";
constexpr char kSceneName[] = "sceneName";

constexpr int kKeywordMethod = METH_VARARGS | METH_KEYWORDS;

// In the order in which the analyzer defines its operations.
PyMethodDef operations[] = {
    {"__init__", asMethod(initialise), kKeywordMethod, nullptr},
    {"loadSidePath", asMethod(withOneArgument<scene::loadSidePath, kLoadSidePath, kAnalyzerMode>),
     kKeywordMethod, nullptr},
    {"initSceneAssemblyPlugins", withoutArguments<scene::initSceneAssemblyPlugins>, METH_NOARGS, nullptr},
    {"checkPlatform", withoutArguments<scene::checkPlatform>, METH_NOARGS, nullptr},
    {"getSceneName",
     asMethod(withTwoArguments<scene::getSceneName, kGetSceneName, kAnalyzerMode, kSceneName>),
     kKeywordMethod, nullptr},
    {"getSceneNameFromMaya", withoutArguments<scene::getSceneNameFromMaya>, METH_NOARGS, nullptr},
    {"getSceneNameFromParms",
     asMethod(withOneArgument<scene::getSceneNameFromParms, kGetSceneNameFromParms, kSceneName>),
     kKeywordMethod, nullptr},
    {"getAllCamInScene", withoutArguments<inspection::getAllCamInScene>, METH_NOARGS, nullptr},
    {"getLayersInfo", withoutArguments<inspection::getLayersInfo>, METH_NOARGS, nullptr},
    {"isDefaultRenderLayer", withoutArguments<inspection::isDefaultRenderLayer>, METH_NOARGS, nullptr},
    {"getMachineInfo", withoutArguments<inspection::getMachineInfo>, METH_NOARGS, nullptr},
    {"checkScene", withoutArguments<inspection::checkScene>, METH_NOARGS, nullptr},
    {"get_PreFix", withoutArguments<inspection::get_PreFix>, METH_NOARGS, nullptr},
    {"compareVRayMachine", withoutArguments<inspection::compareVRayMachine>, METH_NOARGS, nullptr},
    {"AnlyzerSenceFile", withoutArguments<analysis::AnlyzerSenceFile>, METH_NOARGS, nullptr},
    {nullptr, nullptr, 0, nullptr}};

}  // namespace

python::Ref createAnalyzerClass(const char* moduleName) {
  python::Ref base = python::createOperationsBase("vanalyzer.AnalyzerOperations", operations);
  python::Ref name = python::text("Maya_Analyzer");
  python::Ref namespaceDictionary = python::newDict();
  python::setItem(namespaceDictionary.get(), "__module__", python::text(moduleName).get());
  python::Ref bases = python::tupleOf({base.get()});
  return python::call(reinterpret_cast<PyObject*>(&PyType_Type), name, bases, namespaceDictionary);
}

}  // namespace vanalyzer
