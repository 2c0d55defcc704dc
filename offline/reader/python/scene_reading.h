// Reading a scene file for the offline extensions (mayascene.load and scenegraph.Graph.add_file):
// the cap on stored values from the environment, the reader's errors as Python's, the codec of
// the file's texts. Compiled into both extensions.
#pragma once

#include <string>

#include "mayascene/parse_error.h"
#include "mayascene/scene.h"
#include "python/python.h"

namespace mayascene_python {

// The scene in the file, read with $VANALYZER_MAX_VALUE_BYTES as the cap on a stored text (a
// ValueError when it is not a whole number) while other Python threads run. The reader's own
// errors (ParseError, I/O failures) pass through for the caller to raise.
mayascene::Scene readScene(const std::string& path);

// Sets `errorClass` (a ParseError class) with the failure's place and throws python::Error.
[[noreturn]] void raiseParseError(PyObject* errorClass, const mayascene::ParseError& failure);

// The interpreter's codec for the file's code page; utf-8 for one the interpreter does not know.
std::string sceneCodec(const mayascene::Scene& scene);

}  // namespace mayascene_python
