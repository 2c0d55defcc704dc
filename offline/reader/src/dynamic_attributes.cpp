// The default value of an added attribute, as both front ends read it.
#include <cmath>
#include <cstdint>

#include "mayascene/scene.h"

namespace mayascene {

namespace {

bool one_of(std::string_view word, std::initializer_list<std::string_view> words) {
  for (std::string_view w : words) {
    if (word == w) return true;
  }
  return false;
}

// A default that no int64 holds (a corrupted file's NaN or 1e300) reads as 0.
std::int64_t whole_number(double d) {
  return std::isfinite(d) && std::fabs(d) < 9.2e18 ? static_cast<std::int64_t>(d) : 0;
}

}  // namespace

void set_default(DynamicAttribute* attr, const double* given) {
  const double d = given != nullptr ? *given : 0;
  if (attr->type == "bool") {
    attr->default_value = Value::boolean(d != 0);
  } else if (one_of(attr->type, {"long", "short", "byte", "enum", "char"})) {
    attr->default_value = Value::integer(whole_number(d));
  } else if (given != nullptr || one_of(attr->type, {"float", "double", "doubleLinear", "doubleAngle", "time",
                                                     "floatLinear", "floatAngle"})) {
    attr->default_value = Value::real(d);
  } else {
    return;
  }
  attr->has_default = true;
}

}  // namespace mayascene
