#include "mayascene/scene.h"

namespace mayascene {

Value Value::boolean(bool v) {
  Value out;
  out.kind = Kind::Bool;
  out.b = v;
  return out;
}

Value Value::integer(std::int64_t v) {
  Value out;
  out.kind = Kind::Int;
  out.i = v;
  return out;
}

Value Value::real(double v) {
  Value out;
  out.kind = Kind::Double;
  out.d = v;
  return out;
}

Value Value::string(std::string v) {
  Value out;
  out.kind = Kind::String;
  out.s = std::move(v);
  return out;
}

bool Value::operator==(const Value& o) const {
  if (kind != o.kind) return false;
  switch (kind) {
    case Kind::Bool: return b == o.b;
    case Kind::Int: return i == o.i;
    case Kind::Double: return d == o.d;
    case Kind::String: return s == o.s;
    case Kind::StringArray:
    case Kind::Tuple: return items == o.items;
  }
  return false;
}

}  // namespace mayascene
