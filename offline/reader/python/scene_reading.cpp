#include "scene_reading.h"

#include <cstdint>
#include <cstdlib>
#include <optional>

#include "mayascene/names.h"
#include "mayascene/reader.h"
#include "python/caught_error.h"
#include "python/compat.h"
#include "python/interpreter_released.h"
#include "python/objects.h"

namespace mayascene_python {

namespace {

using python::Ref;

// Python looks no codec up to decode nothing, so the probe decodes one byte.
bool knownCodec(const char* codec) {
  bool known = true;
  python::guard([&] { python::decodedText("a", codec); }, [&](const python::CaughtError&) { known = false; });
  return known;
}

}  // namespace

mayascene::Scene readScene(const std::string& path) {
  const char* cap = std::getenv("VANALYZER_MAX_VALUE_BYTES");
  const std::optional<std::uint64_t> max_value_bytes = mayascene::max_value_bytes_setting(cap);
  if (!max_value_bytes) {
    PyErr_Format(PyExc_ValueError, "VANALYZER_MAX_VALUE_BYTES must be a whole number of bytes (0: no cap), not '%s'", cap);
    throw python::Error();
  }
  mayascene::ReadOptions options;
  options.max_value_bytes = *max_value_bytes;
  const python::InterpreterReleased released;
  return mayascene::read_file(path, options);
}

void raiseParseError(PyObject* errorClass, const mayascene::ParseError& failure) {
  Ref instance = python::call(errorClass, python::decodedText(failure.what(), "utf-8"));
  python::setAttribute(instance.get(), "file", python::decodedText(failure.file(), "utf-8"));
  // A Maya ASCII error has a line and column, a Maya Binary one a byte offset and a chunk.
  const bool binary = failure.binary();
  const Ref none = Ref::borrow(Py_None);
  python::setAttribute(instance.get(), "line", binary ? none : python::integer(failure.line()));
  python::setAttribute(instance.get(), "column", binary ? none : python::integer(failure.column()));
  python::setAttribute(instance.get(), "offset",
                       binary ? python::integer(static_cast<long long>(failure.offset())) : none);
  python::setAttribute(instance.get(), "chunk", binary ? python::decodedText(failure.chunk(), "utf-8") : none);
  PyErr_SetObject(errorClass, instance.get());
  throw python::Error();
}

std::string sceneCodec(const mayascene::Scene& scene) {
  std::string codec = mayascene::codec_for_codeset(scene.codeset);
  return knownCodec(codec.c_str()) ? codec : "utf-8";
}

}  // namespace mayascene_python
