// The header group (HEAD): version, units, fileInfo and the plug-ins a scene requires with the
// type ids of their nodes. A second HEAD at the file's end holds counts and the paths of the
// top-level references, which the FREF groups give too.
#include <cstdlib>

#include "binary_reader.h"
#include "text.h"
#include "units.h"

namespace mayascene {
namespace binary {

namespace {

// The words of a `requires` option text: -nodeType "aiOptions" -dataType "d" ...
std::vector<std::string> option_words(std::string_view text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r') {
      ++i;
      continue;
    }
    std::string word;
    if (text[i] == '"') {
      for (++i; i < text.size() && text[i] != '"'; ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) ++i;
        word += text[i];
      }
      ++i;
    } else {
      for (; i < text.size() && text[i] != ' ' && text[i] != '\t'; ++i) word += text[i];
    }
    words.push_back(std::move(word));
  }
  return words;
}

}  // namespace

PluginRecord decode_plugin(std::string_view data) {
  Payload p(data);
  PluginRecord record;
  record.requirement.plugin = std::string(p.text());
  record.requirement.version = std::string(p.text_or_rest());
  if (p.empty()) return record;  // Maya 2013 and older stop here
  const std::vector<std::string> words = option_words(p.text_or_rest());
  for (std::size_t i = 0; i + 1 < words.size(); ++i) {
    if (words[i] == "-nodeType" || words[i] == "-nt") record.requirement.node_types.push_back(words[++i]);
    else if (words[i] == "-dataType" || words[i] == "-dt") record.requirement.data_types.push_back(words[++i]);
  }
  try {
    while (!p.empty()) {
      const std::string_view name = p.text();
      const std::uint32_t id = p.u32();
      record.type_ids.emplace_back(std::string(name), id);
    }
  } catch (const Malformed&) {
    // A broken pair ends the table; the requirement itself stands.
  }
  return record;
}

std::pair<std::string, std::string> decode_file_info(std::string_view data) {
  Payload p(data);
  std::string key(p.text());
  return {std::move(key), unescaped(p.text_or_rest())};
}

void Reader::read_header(const Chunk& group) {
  std::uint64_t at = group.children();
  Chunk leaf;
  while (container_.next(group, &at, &leaf)) {
    if (leaf.group) continue;
    if (leaf.id == tag("PLUG")) {
      PluginRecord record;
      if (!too_long(leaf) && try_decoded(leaf, decode_plugin, &record)) {
        for (auto& type : record.type_ids) plugin_types_[type.second] = std::move(type.first);
        scene_.requires_.push_back(std::move(record.requirement));
      }
      continue;
    }
    if (leaf.id == tag("FINF")) {
      std::pair<std::string, std::string> info;
      if (!too_long(leaf) && try_decoded(leaf, decode_file_info, &info)) scene_.file_info.push_back(std::move(info));
      continue;
    }
    const bool wanted = leaf.id == tag("VERS") || leaf.id == tag("LUNI") || leaf.id == tag("AUNI") ||
                        leaf.id == tag("TUNI") || leaf.id == tag("TDUR") || leaf.id == tag("CHNG");
    if (!wanted || leaf.size > 4096) continue;
    std::string text = container_.data(leaf);
    while (!text.empty() && text.back() == '\0') text.pop_back();
    if (leaf.id == tag("VERS")) {
      scene_.maya_version = text;
      scene_.required_maya = text;
    } else if (leaf.id == tag("LUNI")) {
      scene_.units["linear"] = linear_unit_name(text);
    } else if (leaf.id == tag("AUNI")) {
      scene_.units["angle"] = angle_unit_name(text);
    } else if (leaf.id == tag("TUNI")) {
      scene_.units["time"] = text;
      frames_per_second_ = frames_per_second(text);
    } else if (leaf.id == tag("TDUR")) {
      const double ticks = std::strtod(text.c_str(), nullptr);
      if (ticks > 0 && ticks < 1e15) ticks_per_second_ = ticks;
    } else {
      header_is_utf8_ = header_is_utf8_ && is_valid_utf8(text);  // CHNG: the save time, in the machine's code page
    }
  }
}

}  // namespace binary
}  // namespace mayascene
