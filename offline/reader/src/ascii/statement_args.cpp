// Splitting a statement into flags and positional values, and reading a word as MEL does.
#include "statement_reader.h"

#include <cerrno>
#include <cstdlib>

namespace mayascene {
namespace detail {

Value word_value(const std::string& w) {
  if (one_of(w, {"yes", "on", "true"})) return Value::boolean(true);
  if (one_of(w, {"no", "off", "false"})) return Value::boolean(false);
  if (!w.empty()) {
    const char* begin = w.c_str();
    char* end = nullptr;
    errno = 0;
    const long long n = std::strtoll(begin, &end, 10);
    if (*end == '\0' && errno == 0) return Value::integer(n);
    errno = 0;
    const double d = std::strtod(begin, &end);
    if (*end == '\0') return Value::real(d);
  }
  return Value::string(w);
}

Args parse_args(const std::vector<Token>& tokens, std::initializer_list<const char*> no_argument) {
  Args args;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (is_flag(tokens[i])) {
      const std::string name = tokens[i].text.substr(1);
      Token value;
      value.line = tokens[i].line;
      value.column = tokens[i].column;
      if (!one_of(name, no_argument) && i + 1 < tokens.size() && !is_flag(tokens[i + 1])) {
        value = tokens[++i];
      }
      args.flags.emplace_back(name, value);
    } else {
      args.positionals.push_back(tokens[i]);
    }
  }
  return args;
}

}  // namespace detail
}  // namespace mayascene
