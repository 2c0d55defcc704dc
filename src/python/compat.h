// The differences between the two interpreter lines (2.7 and 3.7+ through the Stable ABI) live here;
// everything else is written once against these functions.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "python/ref.h"

namespace python {

// The interpreter's native text type from UTF-8: str (bytes) on 2.7, str (Unicode) on 3.x.
Ref text(std::string_view utf8);

// Python int on both lines (2.7's int while the value fits, so that repr shows no "L").
Ref integer(long long value);
// Python int from an optionally signed decimal digit string of any length.
Ref integerFromDecimal(const std::string& decimal);

Ref boolean(bool value);

// Unicode text from UTF-8 on both lines (2.7's unicode, 3.x's str).
Ref unicodeText(std::string_view utf8);

// True for Unicode text on both lines.
bool isUnicode(PyObject* object);
// True for byte strings: 2.7's str, 3.x's bytes.
bool isBytes(PyObject* object);

// UTF-8 of a text value: Unicode is encoded strictly (lone surrogates fail); byte strings are taken
// as they are. Anything else raises TypeError.
std::string utf8(PyObject* textValue);

// True for the values a step treats as text: Unicode on both lines, and 2.7's native str.
bool isText(PyObject* object);

// UTF-8 of a text value (isText), as pathText gives it (surrogates of a 3.x str kept, so the text
// survives the way back through pathFromText); empty for any other kind of value.
std::optional<std::string> utf8IfText(PyObject* value);

// Native text from bytes in the named codec; bytes it cannot decode become U+FFFD. On 2.7 the
// native str holds the UTF-8 of the decoded text.
Ref decodedText(std::string_view bytes, const char* codec);

// A process argument as the bytes that the system passed: os.fsencode(entry) on 3.x (`os` is the
// module to use), the entry itself on 2.7, where arguments already are byte strings.
Ref processArgumentBytes(PyObject* os, PyObject* entry);

// A number as a JSON number loads: int (2.7: int or long) or float, but not bool.
bool isNumber(PyObject* object);

// Path values (Unicode text or byte strings) as texts for the path rules, and back to a value of
// the same kind. Unicode becomes UTF-8 with lone surrogates kept (3.x file names may carry them),
// so that the text converts back unchanged; byte strings are taken as they are. TypeError for
// anything else.
std::string pathText(PyObject* path);
Ref pathFromText(std::string_view text, bool unicode);

// The bytes that the operating system receives for a path value, as os.stat would pass them
// (UTF-8 on Windows), and a path value of the given kind from such bytes.
std::string fileSystemPath(PyObject* path);
Ref pathFromFileSystem(std::string_view bytes, bool unicode);

// The value handed to an on-disk lookup after "encode as UTF-8": 2.7 encodes the value as its
// encode("utf-8") does (byte strings must be ASCII); 3.x checks that the value is a str that
// encodes strictly and hands on the str itself. Throws python::Error when the value fails.
Ref utf8ForLookup(PyObject* value);

// os.getcwd() in the kind of path given: Unicode or bytes.
Ref currentDirectory(bool unicode);

// sys.<name> as a borrowed-then-owned reference; empty when sys has no such attribute.
Ref sysObject(const char* name);

// The message of NameError for a module-level name that is not bound.
Ref undefinedNameMessage(const char* name);

// Creates the extension module with the given module-level functions and documentation string.
// 2.7 returns a borrowed module, which this wraps as an owned one.
Ref createModule(const char* name, PyMethodDef* functions, const char* documentation = nullptr);

// A stateless heap-compatible base type that carries `methods`; classes made from it by calling
// type(name, (base,), namespace) get an ordinary instance __dict__ on both lines.
Ref createOperationsBase(const char* qualifiedName, PyMethodDef* methods);

}  // namespace python
