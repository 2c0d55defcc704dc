// A reference of a scene file as the offline extensions hand it to Python (mayascene.load's
// "references", scenegraph.Graph.file_info's): a dict of its texts (made by `text`, each
// extension's own decoding) and its flags.
#pragma once

#include "mayascene/scene.h"
#include "python/compat.h"
#include "python/objects.h"

namespace mayascene_python {

template <class Text>
python::Ref referenceRecord(const mayascene::Reference& r, const Text& text) {
  python::Ref reference = python::newDict();
  python::setItem(reference.get(), "path", text(r.path).get());
  python::setItem(reference.get(), "namespace", text(r.ns).get());
  python::setItem(reference.get(), "prefix", text(r.prefix).get());
  python::setItem(reference.get(), "reference_node", text(r.reference_node).get());
  python::setItem(reference.get(), "type", text(r.type).get());
  python::setItem(reference.get(), "options", text(r.options).get());
  python::setItem(reference.get(), "depth", python::integer(r.depth).get());
  python::setItem(reference.get(), "top_level", python::boolean(r.top_level).get());
  python::setItem(reference.get(), "deferred", python::boolean(r.deferred).get());
  return reference;
}

}  // namespace mayascene_python
