// Name patterns as `ls` takes them: the shell-style wildcards of Python's fnmatchcase
// (`*`, `?`, `[abc]`, `[a-z]`, `[!abc]`), matched on the characters of UTF-8 texts.
#pragma once

#include <string_view>
#include <vector>

namespace scenegraph {

class Glob {
 public:
  explicit Glob(std::string_view pattern);
  bool matches(std::string_view text) const;
  // True when the pattern holds a wildcard, i.e. it can match more than its own text.
  bool has_wildcards() const { return wild_; }

 private:
  struct Range {
    char32_t first;
    char32_t last;
  };
  struct Item {
    enum class Kind { Literal, AnyOne, Star, Set } kind = Kind::Literal;
    char32_t literal = 0;
    bool negated = false;
    std::vector<Range> ranges;
  };
  bool item_matches(const Item& item, char32_t c) const;

  std::vector<Item> items_;
  bool wild_ = false;
};

// The code points of a UTF-8 text; a byte that starts no valid sequence stands for itself.
std::vector<char32_t> code_points(std::string_view utf8);

}  // namespace scenegraph
