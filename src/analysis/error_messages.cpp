#include "analysis/error_messages.h"

#include <optional>

#include "analysis/message_text.h"
#include "host/service.h"

namespace vanalyzer::analysis {
namespace {

// Numeric equality only: a code written as text, or as true/false, never matches.
bool sameCode(PyObject* entryCode, PyObject* raisedCode) {
  return python::isNumber(entryCode) && python::isNumber(raisedCode) && python::equal(entryCode, raisedCode);
}

template <class Value>
python::Ref fillIn(const python::Ref& message, const char* placeholder, Value&& value) {
  python::Ref name = python::text(placeholder);
  if (!python::contains(message.get(), name.get())) return message;
  return python::callMethod(message.get(), "replace", name, value());
}

}  // namespace

void raiseVRayCode(const Analyzer& analyzer) {
  if (!python::isTrue(analyzer.call("compareVRayMachine").get())) return;
  analyzer.recordStatus(1);
  analyzer.appendErrorCode(10020);
}

void expandErrorCodes(const Analyzer& analyzer, const python::Ref& missingFiles) {
  const python::Ref catalogue = analyzer.get("errorInfo");
  const python::Ref errors = analyzer.get("errors");
  std::optional<python::Ref> sceneText;
  // An unresolved scene (None) reads as empty text; a byte path is read as UTF-8, else GBK.
  auto sceneName = [&]() -> const python::Ref& {
    if (!sceneText) {
      python::Ref name = analyzer.get("sceneName");
      sceneText = name.get() == Py_None ? python::unicodeText("") : asUnicode(name, {"utf-8", "gbk"});
    }
    return *sceneText;
  };
  auto missingList = [&]() -> const python::Ref& { return missingFiles; };
  const python::Ref codeKey = python::text("code");
  const python::Ref englishKey = python::text("en");
  const python::Ref chineseKey = python::text("cn");

  python::forEach(analyzer.get("errorCodes").get(), [&](const python::Ref& code) {
    host::logFormat(host::LogLevel::Info, "Get errorCode %s", code);
    python::forEach(catalogue.get(), [&](const python::Ref& entry) {
      if (!sameCode(python::item(entry.get(), codeKey.get()).get(), code.get())) return;
      python::Ref english = python::item(entry.get(), englishKey.get());
      python::Ref chinese = python::item(entry.get(), chineseKey.get());
      english = fillIn(english, "${scenePath}", sceneName);
      chinese = fillIn(chinese, "${scenePath}", sceneName);
      english = fillIn(english, "${missingFiles}", missingList);
      chinese = fillIn(chinese, "${missingFiles}", missingList);
      python::Ref message = python::newDict();
      python::setItem(message.get(), "code", code.get());
      python::setItem(message.get(), "en", english.get());
      python::setItem(message.get(), "cn", chinese.get());
      python::append(errors.get(), message.get());
    });
  });
}

}  // namespace vanalyzer::analysis
