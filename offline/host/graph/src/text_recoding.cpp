#include "text_recoding.h"

#include <string>

namespace scenegraph {

bool is_utf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      c = lead & 0x1F;
    } else if ((lead >> 4) == 0xE) {
      length = 3;
      c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      c = lead & 0x07;
    } else {
      return false;
    }
    if (i + length > bytes.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if ((length == 3 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) || (length == 4 && (c < 0x10000 || c > 0x10FFFF))) {
      return false;
    }
    i += length;
  }
  return true;
}

namespace {

class Recoding {
 public:
  explicit Recoding(const TextRecoder& recoder) : recoder_(recoder) {}

  bool kept(std::string_view s) const {
    bool ascii = true;
    for (const char c : s) {
      if (static_cast<unsigned char>(c) >= 0x80) {
        ascii = false;
        break;
      }
    }
    return ascii || (recoder_.keeps_valid_utf8() && is_utf8(s));
  }

  void text(std::string* s) const {
    if (!kept(*s)) *s = recoder_.recode(*s);
  }

  // A node's text: the recoded one joins the scene's texts.
  void text(mayascene::Text* s, mayascene::TextArena* texts) const {
    if (!kept(*s)) *s = texts->keep(recoder_.recode(*s));
  }

  void value(mayascene::Value* v) const {
    text(&v->s);
    for (mayascene::Value& item : v->items) value(&item);
  }

 private:
  const TextRecoder& recoder_;
};

}  // namespace

void recode_scene(mayascene::Scene* scene, const TextRecoder& recoder) {
  const Recoding r(recoder);
  for (mayascene::Node& node : scene->nodes) {
    r.text(&node.name, &scene->texts);
    r.text(&node.parent_name, &scene->texts);
    if (!node.attrs.all_texts([&](std::string_view text) { return r.kept(text); })) {
      node.attrs.recode_texts([&](std::string* text) { r.text(text); });
    }
    node.dynamic.change_each([&](mayascene::DynamicAttribute& dynamic) { r.value(&dynamic.default_value); });
  }
  for (mayascene::Connection& c : scene->connections) {
    if (r.kept(c.source()) && r.kept(c.destination())) continue;
    std::string source(c.source());
    std::string destination(c.destination());
    r.text(&source);
    r.text(&destination);
    c = mayascene::Connection(scene->texts, source, destination);
  }
  for (mayascene::Reference& ref : scene->references) {
    for (std::string* s : {&ref.path, &ref.ns, &ref.reference_node, &ref.type, &ref.options}) r.text(s);
  }
  for (auto& info : scene->file_info) {
    r.text(&info.first);
    r.text(&info.second);
  }
  for (mayascene::Requirement& requirement : scene->requires_) {
    r.text(&requirement.plugin);
    r.text(&requirement.version);
  }
  for (mayascene::ReferenceEdits& edits : scene->reference_edits) {
    r.text(&edits.holder);
    r.text(&edits.owner);
    for (mayascene::ReferenceEditGroup& group : edits.groups) {
      r.text(&group.reference_node);
      for (mayascene::ReferenceEdit& edit : group.edits) {
        for (std::string& field : edit.fields) r.text(&field);
      }
    }
  }
  for (mayascene::Relationship& relationship : scene->relationships) {
    for (std::string& member : relationship.members) r.text(&member);
  }
}

}  // namespace scenegraph
