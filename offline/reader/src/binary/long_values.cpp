// Chunks larger than the cap on stored values (ReadOptions::max_value_bytes), as the .ma reader
// treats a statement holding a text over it: a string attribute's value stays in the file (a
// Span: its offset and length, read_binary_span reads it when asked), any other such text is not
// kept; each is listed in Scene::long_values. The chunk is measured through the file, never
// copied whole.
#include <algorithm>
#include <stdexcept>

#include "binary_reader.h"
#include "long_texts.h"
#include "mayascene/names.h"
#include "mayascene/reader.h"
#include "text.h"

namespace mayascene {
namespace binary {

namespace {

std::uint32_t be32(const std::string& bytes) {
  std::uint32_t v = 0;
  for (char c : bytes) v = (v << 8) | static_cast<unsigned char>(c);
  return v;
}

std::string where_in_file(const Chunk& leaf) { return chunk_id(leaf.id) + " chunk at byte " + std::to_string(leaf.offset); }

}  // namespace

std::string Reader::text_at(const TextExtent& text) {
  std::string bytes(static_cast<std::size_t>(text.length), '\0');
  if (!bytes.empty()) container_.source().read_at(text.offset, &bytes[0], bytes.size());
  return bytes;
}

bool Reader::too_long(const Chunk& leaf, std::uint64_t fixed) {
  if (leaf.size <= max_value_bytes_ || leaf.size < fixed) return false;
  TextScanner scan(container_.source(), leaf.data + fixed, leaf.data + leaf.size);
  TextExtent text;
  std::uint64_t longest = 0;
  while (scan.next(&text)) longest = std::max(longest, text.length);
  if (longest <= max_value_bytes_) return false;
  scene_.long_values.push_back(LongValue{where_in_file(leaf), longest, false});
  return true;
}

// The layout is decode_value's for STR and STR# (attribute path NUL, flags, then the text, or a
// u32 count and the texts); what it would keep or pass over is kept or passed over here.
bool Reader::read_long_value(const Chunk& leaf, int node) {
  if (leaf.size <= max_value_bytes_) return false;
  TextScanner scan(container_.source(), leaf.data, leaf.data + leaf.size);
  TextExtent path;
  std::string flags;
  if (!scan.next(&path) || !path.terminated || !scan.take(1, &flags)) return true;  // no layout decode_value reads
  if (path.length > max_value_bytes_) {
    scene_.long_values.push_back(LongValue{where_in_file(leaf), path.length, false});
    return true;
  }
  const std::string attr = text_at(path);
  if (attr.empty() || (static_cast<std::uint8_t>(flags[0]) & kSizeFollows) || attr.find(':') != std::string::npos) {
    return true;  // sizes and ranges of strings are not kept
  }
  Node& target = scene_.nodes[static_cast<std::size_t>(node)];
  const std::string key = canonical_path(target.type, attr, target.dynamic);
  const std::uint64_t end = leaf.data + leaf.size;
  TextExtent text;
  if (leaf.id == tag("STR ")) {
    if (!scan.next(&text)) text = TextExtent();  // nothing after the flags: an empty text
    if (text.length > max_value_bytes_) {
      scene_.long_values.push_back(LongValue{target.name.str() + "." + key, text.length, true});
      long_texts_utf8_ = long_texts_utf8_ && text.utf8;
      target.attrs.set(key, Value::span(static_cast<std::int64_t>(text.offset), text.length));
    } else {
      target.attrs.set(key, Value::string(text_at(text)));
    }
    return true;
  }
  std::string count;
  if (!scan.take(4, &count)) return true;
  const std::uint32_t n = be32(count);
  if (n >= kMaxStoredValues || n > end - scan.position()) return true;
  Value list;
  list.kind = Value::Kind::StringArray;
  for (std::uint32_t i = 0; i < n; ++i) {
    if (!scan.next(&text)) text = TextExtent();
    if (text.length > max_value_bytes_) {
      scene_.long_values.push_back(LongValue{target.name.str() + "." + key, text.length, false});
      return true;
    }
    list.items.push_back(Value::string(text_at(text)));
  }
  target.attrs.set(key, list);
  return true;
}

void Reader::drop_long_edits(ReferenceEdits* edits) const {
  for (ReferenceEditGroup& group : edits->groups) {
    const auto over = [&](const ReferenceEdit& edit) {
      return std::any_of(edit.fields.begin(), edit.fields.end(),
                         [&](const std::string& field) { return field.size() > max_value_bytes_; });
    };
    const auto kept_end = std::remove_if(group.edits.begin(), group.edits.end(), over);
    edits->unread += static_cast<std::size_t>(group.edits.end() - kept_end);
    group.edits.erase(kept_end, group.edits.end());
  }
}

}  // namespace binary

std::string read_binary_span(ByteSource& source, const std::string& name, const Value& span, bool utf8) {
  const auto offset = static_cast<std::uint64_t>(span.i);
  std::string text;
  if (span.i >= 0 && offset <= source.size() && span.length <= source.size() - offset) {
    text.resize(static_cast<std::size_t>(span.length));
    if (!text.empty()) source.read_at(offset, &text[0], text.size());
    if (text.find('\0') == std::string::npos && (!utf8 || binary::is_valid_utf8(text))) return text;
  }
  throw std::runtime_error(name + ": the text of " + std::to_string(span.length) + " bytes read at byte " + std::to_string(span.i) +
                           " is no longer there (the file changed since it was read)");
}

}  // namespace mayascene
