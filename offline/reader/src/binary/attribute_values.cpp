// Value chunks: attribute path NUL, a flag byte, then the value. What is kept matches what the .ma
// reader keeps of the same setAttr: strings, string arrays, scalars (ranges of up to
// kMaxStoredValues one by one), short tuples and matrices; sizes, flags, compounds and bulk data
// are passed over.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "binary_reader.h"
#include "container.h"
#include "mayascene/names.h"
#include "mayascene/reader.h"
#include "units.h"

namespace mayascene {
namespace binary {

namespace {

// A chunk larger than this holds more values than the model keeps.
constexpr std::uint64_t kLargestKeptNumbers = 4096;

// "name[a:b]" at the end of a path: the element count of the range.
bool parse_range(std::string_view attr, std::int64_t* first, std::int64_t* last) {
  const std::size_t open = attr.rfind('[');
  if (open == std::string_view::npos || attr.empty() || attr.back() != ']') return false;
  const std::string_view inside = attr.substr(open + 1, attr.size() - open - 2);
  const std::size_t colon = inside.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon + 1 == inside.size()) return false;
  std::int64_t a = 0;
  std::int64_t b = 0;
  for (std::size_t i = 0; i < inside.size(); ++i) {
    if (i == colon) continue;
    const char c = inside[i];
    if (c < '0' || c > '9') return false;
    std::int64_t& n = i < colon ? a : b;
    if (n > 100000000000LL) return false;
    n = n * 10 + (c - '0');
  }
  if (b < a) return false;
  *first = a;
  *last = b;
  return true;
}

bool is_tick_count(std::uint64_t bits) {
  // 64-bit ticks read as a double are denormal (positive) or NaN (negative); no stored real is.
  const std::uint64_t exponent = (bits >> 52) & 0x7FF;
  return bits != 0 && (exponent == 0 || (exponent == 0x7FF && (bits >> 63) != 0));
}

// A number as the .ma reader reads it back: written as an integer when whole, then a real or a
// boolean where Maya's table (or the dynamic attribute's type) says so.
Value as_read_back(Value written, const std::string& attr, const ValueContext& context) {
  const std::string name = attr.substr(0, attr.find('['));
  const double d = written.kind == Value::Kind::Int ? static_cast<double>(written.i) : written.d;
  if (context.dynamic != nullptr) {
    const DynamicAttribute* dyn = context.dynamic->find(name);
    if (dyn != nullptr && dyn->type == "bool") return Value::boolean(d != 0);
  }
  const AttributeInfo* info = find_attribute(context.node_type, name);
  if (info != nullptr && info->kind == AttributeInfo::Default::Bool) return Value::boolean(d != 0);
  if (info != nullptr && info->kind == AttributeInfo::Default::Double) return Value::real(d);
  return written;
}

Value scalar(double d, const std::string& attr, const ValueContext& context) {
  const std::string name = attr.substr(0, attr.find('['));
  if (is_angle_attribute(context.node_type, context.transform, name)) return Value::real(d * context.angle_factor);
  const bool whole = std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9e15;
  return as_read_back(whole ? Value::integer(static_cast<std::int64_t>(d)) : Value::real(d), attr, context);
}

Value tuple_of(std::vector<Value> items) {
  Value v;
  v.kind = Value::Kind::Tuple;
  v.items = std::move(items);
  return v;
}

struct TupleLayout {
  std::uint32_t id;
  std::size_t count;
  std::size_t width;  // bytes per number
  bool real;
};
constexpr TupleLayout kTuples[] = {
    {tag("DBL2"), 2, 8, true}, {tag("DBL3"), 3, 8, true}, {tag("FLT2"), 2, 4, true}, {tag("FLT3"), 3, 4, true},
    {tag("LNG2"), 2, 4, false}, {tag("LNG3"), 3, 4, false}, {tag("SRT2"), 2, 2, false}, {tag("SRT3"), 3, 2, false},
    {tag("MATR"), 16, 8, true},
};

// A float as a .ma writes it, to 8 significant digits.
double as_written(float f) {
  char text[32];
  std::snprintf(text, sizeof text, "%.8g", static_cast<double>(f));
  return std::strtod(text, nullptr);
}

Value number_at(Payload& p, const TupleLayout& layout, double factor) {
  switch (layout.width) {
    case 8: return Value::real(p.f64() * factor);
    case 4: return layout.real ? Value::real(as_written(p.f32())) : Value::integer(p.s32());
    default: return Value::integer(p.s16());
  }
}

}  // namespace

std::vector<std::pair<std::string, Value>> decode_value(std::uint32_t id, std::string_view data,
                                                        const ValueContext& context) {
  std::vector<std::pair<std::string, Value>> out;
  Payload p(data);
  const std::string attr(p.text());
  const std::uint8_t flags = p.u8();
  if (attr.empty() || (flags & kSizeFollows)) return out;
  std::int64_t first = 0;
  std::int64_t last = 0;
  const bool ranged = attr.find(':') != std::string::npos;
  if (ranged && !parse_range(attr, &first, &last)) return out;
  const std::size_t count = static_cast<std::size_t>(last - first + 1);

  if (id == tag("STR ")) {
    if (!ranged) out.emplace_back(attr, Value::string(std::string(p.text_or_rest())));
    return out;
  }
  if (id == tag("STR#")) {
    const std::uint32_t n = p.u32();
    if (ranged || n >= kMaxStoredValues || n > p.remaining()) return out;
    Value list;
    list.kind = Value::Kind::StringArray;
    for (std::uint32_t i = 0; i < n; ++i) list.items.push_back(Value::string(std::string(p.text_or_rest())));
    out.emplace_back(attr, std::move(list));
    return out;
  }
  if (id == tag("DBLE")) {
    if (ranged && count > kMaxStoredValues) return out;
    std::vector<Value> values;
    if (p.remaining() == 4 * count) {  // time values before Maya 2018: 32-bit ticks
      for (std::size_t i = 0; i < count; ++i) {
        values.push_back(as_read_back(frames_from_ticks(p.s32(), kOldTicksPerSecond, context.frames_per_second), attr, context));
      }
    } else if (p.remaining() == 8 * count) {
      for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t bits = p.u64();
        if (context.ticks_per_second > 0 && is_tick_count(bits)) {
          values.push_back(as_read_back(frames_from_ticks(static_cast<std::int64_t>(bits), context.ticks_per_second,
                                                          context.frames_per_second),
                                        attr, context));
        } else {
          double d;
          std::memcpy(&d, &bits, sizeof d);
          values.push_back(scalar(d, attr, context));
        }
      }
    } else {
      return out;  // elements of another layout (skinCluster weight lists)
    }
    if (!ranged) {
      out.emplace_back(attr, std::move(values[0]));
      return out;
    }
    const std::string base = attr.substr(0, attr.rfind('['));
    for (std::size_t i = 0; i < count; ++i) {
      out.emplace_back(base + "[" + std::to_string(first + static_cast<std::int64_t>(i)) + "]", std::move(values[i]));
    }
    return out;
  }
  for (const TupleLayout& layout : kTuples) {
    if (id != layout.id) continue;
    if (ranged || p.remaining() != layout.count * layout.width) return out;  // ranges of tuples are bulk data
    const bool angle = layout.width == 8 && is_angle_attribute(context.node_type, context.transform, attr);
    const double factor = angle ? context.angle_factor : 1;
    std::vector<Value> items;
    for (std::size_t i = 0; i < layout.count; ++i) items.push_back(number_at(p, layout, factor));
    out.emplace_back(attr, tuple_of(std::move(items)));
  }
  return out;
}

void Reader::read_value(const Chunk& leaf, int node) {
  static constexpr std::uint32_t kNumbers[] = {tag("DBLE"), tag("DBL2"), tag("DBL3"), tag("FLT2"), tag("FLT3"),
                                               tag("LNG2"), tag("LNG3"), tag("SRT2"), tag("SRT3"), tag("MATR")};
  const bool text = leaf.id == tag("STR ") || leaf.id == tag("STR#");
  bool number = false;
  for (std::uint32_t id : kNumbers) number = number || leaf.id == id;
  if (!text && !(number && leaf.size <= kLargestKeptNumbers)) return;  // passed over unread
  if (text && read_long_value(leaf, node)) return;
  Node& target = scene_.nodes[static_cast<std::size_t>(node)];
  ValueContext context;
  context.node_type = target.type;
  context.dynamic = &target.dynamic;
  context.frames_per_second = frames_per_second_;
  context.ticks_per_second = ticks_per_second_;
  context.transform = (node_flags_[static_cast<std::size_t>(node)] & crea::kTransform) != 0 || inherits(target.type, "transform");
  const auto angle = scene_.units.find("angle");
  context.angle_factor = radians_to(angle == scene_.units.end() ? "degree" : angle->second);
  std::vector<std::pair<std::string, Value>> values;
  if (!try_decoded(leaf, [&](std::string_view data) { return decode_value(leaf.id, data, context); }, &values)) return;
  for (auto& v : values) target.attrs.set(canonical_path(target.type, v.first, target.dynamic), v.second);
}

}  // namespace binary
}  // namespace mayascene
