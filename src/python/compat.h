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

// True for Unicode text on both lines.
bool isUnicode(PyObject* object);
// True for byte strings: 2.7's str, 3.x's bytes.
bool isBytes(PyObject* object);

// UTF-8 of a text value: Unicode is encoded strictly (lone surrogates fail); byte strings are taken
// as they are. Anything else raises TypeError.
std::string utf8(PyObject* textValue);

// True for the values a step treats as text: Unicode on both lines, and 2.7's native str.
bool isText(PyObject* object);

// UTF-8 of a text value (isText); empty for any other kind of value. Surrogates in a 3.x str
// (os.environ and sys.argv carry undecodable bytes as such) are encoded as they stand, so the
// text survives the way back and its code point order is kept.
std::optional<std::string> utf8IfText(PyObject* value);
// Native text from such UTF-8, surrogates included.
Ref textWithSurrogates(std::string_view utf8);

// Native text from bytes in the named codec; bytes it cannot decode become U+FFFD. On 2.7 the
// native str holds the UTF-8 of the decoded text.
Ref decodedText(std::string_view bytes, const char* codec);

// The on-disk bytes of a path argument: Unicode is encoded with the file system encoding (strictly),
// byte strings are taken as they are; anything else raises TypeError.
std::string fileSystemPath(PyObject* path);

// A process argument as the bytes that the system passed: os.fsencode(entry) on 3.x (`os` is the
// module to use), the entry itself on 2.7, where arguments already are byte strings.
Ref processArgumentBytes(PyObject* os, PyObject* entry);

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
