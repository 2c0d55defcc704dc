#include "scenegraph/glob.h"

#include <cstddef>

namespace scenegraph {

std::vector<char32_t> code_points(std::string_view utf8) {
  std::vector<char32_t> out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    bool valid = length != 0 && i + length <= utf8.size();
    char32_t c = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    if (!valid) {
      out.push_back(lead);
      ++i;
      continue;
    }
    out.push_back(c);
    i += length;
  }
  return out;
}

Glob::Glob(std::string_view pattern) {
  const std::vector<char32_t> p = code_points(pattern);
  const std::size_t n = p.size();
  for (std::size_t i = 0; i < n;) {
    const char32_t c = p[i++];
    Item item;
    if (c == U'*') {
      wild_ = true;
      if (!items_.empty() && items_.back().kind == Item::Kind::Star) continue;
      item.kind = Item::Kind::Star;
    } else if (c == U'?') {
      wild_ = true;
      item.kind = Item::Kind::AnyOne;
    } else if (c == U'[') {
      // As fnmatch: a set runs to the first ']' that is not its first member; without one the
      // '[' is itself.
      std::size_t j = i;
      if (j < n && p[j] == U'!') ++j;
      if (j < n && p[j] == U']') ++j;
      while (j < n && p[j] != U']') ++j;
      if (j >= n) {
        item.literal = c;
      } else {
        wild_ = true;
        item.kind = Item::Kind::Set;
        std::size_t k = i;
        if (p[k] == U'!') {
          item.negated = true;
          ++k;
        }
        for (; k < j; ++k) {
          if (k + 2 < j && p[k + 1] == U'-') {
            if (p[k] <= p[k + 2]) item.ranges.push_back({p[k], p[k + 2]});
            k += 2;
          } else {
            item.ranges.push_back({p[k], p[k]});
          }
        }
        i = j + 1;
      }
    } else {
      item.literal = c;
    }
    items_.push_back(std::move(item));
  }
}

bool Glob::item_matches(const Item& item, char32_t c) const {
  switch (item.kind) {
    case Item::Kind::Literal: return item.literal == c;
    case Item::Kind::AnyOne: return true;
    case Item::Kind::Star: return false;
    case Item::Kind::Set: {
      bool in = false;
      for (const Range& r : item.ranges) {
        if (c >= r.first && c <= r.last) {
          in = true;
          break;
        }
      }
      return in != item.negated;
    }
  }
  return false;
}

bool Glob::matches(std::string_view text) const {
  const std::vector<char32_t> t = code_points(text);
  // Greedy matching with one backtrack point: the last star seen. Linear in practice.
  std::size_t pi = 0;
  std::size_t ti = 0;
  std::size_t star = items_.size();
  std::size_t resume = 0;
  while (ti < t.size()) {
    if (pi < items_.size() && items_[pi].kind == Item::Kind::Star) {
      star = pi++;
      resume = ti;
    } else if (pi < items_.size() && item_matches(items_[pi], t[ti])) {
      ++pi;
      ++ti;
    } else if (star != items_.size()) {
      pi = star + 1;
      ti = ++resume;
    } else {
      return false;
    }
  }
  while (pi < items_.size() && items_[pi].kind == Item::Kind::Star) ++pi;
  return pi == items_.size();
}

}  // namespace scenegraph
