// Splitting a statement into flags and positional values, and reading a word as MEL does.
#include <cerrno>
#include <cstdlib>

#include "statement_reader.h"

namespace mayascene {
namespace detail {

const Token Args::none;

Value word_value(std::string_view w) {
  if (one_of(w, {"yes", "on", "true"})) return Value::boolean(true);
  if (one_of(w, {"no", "off", "false"})) return Value::boolean(false);
  if (!w.empty()) {
    char small[64];
    std::string large;
    const char* text = small;
    if (w.size() < sizeof small) {
      w.copy(small, w.size());
      small[w.size()] = '\0';
    } else {
      large.assign(w);
      text = large.c_str();
    }
    char* end = nullptr;
    errno = 0;
    const long long n = std::strtoll(text, &end, 10);
    if (*end == '\0' && errno == 0) return Value::integer(n);
    errno = 0;
    const double d = std::strtod(text, &end);
    if (*end == '\0') return Value::real(d);
  }
  return Value::string(std::string(w));
}

void parse_args(const Tokens& tokens, std::initializer_list<std::string_view> no_argument, Args* args) {
  args->flags.clear();
  args->positionals.clear();
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (is_flag(tokens[i])) {
      const std::string_view name = std::string_view(tokens[i].text).substr(1);
      const Token* value = nullptr;
      if (!one_of(name, no_argument) && i + 1 < tokens.size() && !is_flag(tokens[i + 1])) value = &tokens[++i];
      args->flags.emplace_back(name, value);
    } else {
      args->positionals.push_back(&tokens[i]);
    }
  }
}

}  // namespace detail
}  // namespace mayascene
