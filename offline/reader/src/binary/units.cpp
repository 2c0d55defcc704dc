#include "units.h"

#include <cmath>
#include <cstdlib>

namespace mayascene {
namespace binary {

namespace {

struct Unit {
  const char* abbreviation;
  const char* name;
};

constexpr Unit kLinear[] = {
    {"mm", "millimeter"}, {"cm", "centimeter"}, {"m", "meter"}, {"km", "kilometer"},
    {"in", "inch"},       {"ft", "foot"},       {"yd", "yard"}, {"mi", "mile"},
};
constexpr Unit kAngle[] = {{"deg", "degree"}, {"rad", "radian"}, {"min", "minute"}, {"sec", "second"}};

template <std::size_t N>
std::string named(const Unit (&table)[N], std::string_view abbreviation) {
  for (const Unit& u : table) {
    if (abbreviation == u.abbreviation) return u.name;
  }
  return std::string(abbreviation);
}

struct Rate {
  const char* unit;
  double fps;
};
constexpr Rate kRates[] = {
    {"game", 15},  {"film", 24},       {"pal", 25},   {"ntsc", 30},      {"show", 48},
    {"palf", 50},  {"ntscf", 60},      {"hour", 1.0 / 3600}, {"min", 1.0 / 60}, {"sec", 1},
    {"millisec", 1000},
};

constexpr double kPi = 3.14159265358979323846;

struct Angles {
  const char* type;  // "" for every transform
  const char* names[17];
};
constexpr Angles kAngles[] = {
    {"", {"r", "rx", "ry", "rz", "ra", "rax", "ray", "raz", "mnrl", "mxrl"}},
    {"joint", {"jo", "jox", "joy", "joz", "pa", "pax", "pay", "paz"}},
    {"orientConstraint", {"o", "ox", "oy", "oz", "lr", "lrx", "lry", "lrz", "rsrr", "rsrx", "rsry", "rsrz", "cr", "crx", "cry", "crz"}},
    {"aimConstraint", {"o", "ox", "oy", "oz", "rsrr", "rsrx", "rsry", "rsrz", "cr", "crx", "cry", "crz"}},
    {"parentConstraint", {"lr", "lrx", "lry", "lrz", "rsrr", "rsrx", "rsry", "rsrz", "cr", "crx", "cry", "crz"}},
};

}  // namespace

double radians_to(std::string_view angle_unit) {
  if (angle_unit == "degree") return 180 / kPi;
  if (angle_unit == "minute") return 180 * 60 / kPi;
  if (angle_unit == "second") return 180 * 3600 / kPi;
  return 1;
}

bool is_angle_attribute(std::string_view node_type, bool transform, std::string_view name) {
  if (!transform) return false;
  for (const Angles& a : kAngles) {
    if (a.type[0] != '\0' && node_type != a.type) continue;
    for (const char* n : a.names) {
      if (n != nullptr && name == n) return true;
    }
  }
  return false;
}

std::string linear_unit_name(std::string_view abbreviation) { return named(kLinear, abbreviation); }

std::string angle_unit_name(std::string_view abbreviation) { return named(kAngle, abbreviation); }

double frames_per_second(std::string_view time_unit) {
  for (const Rate& r : kRates) {
    if (time_unit == r.unit) return r.fps;
  }
  // "23.976fps", "29.97df", "120fps" ...
  for (std::string_view suffix : {std::string_view("fps"), std::string_view("df")}) {
    if (time_unit.size() > suffix.size() && time_unit.substr(time_unit.size() - suffix.size()) == suffix) {
      const std::string number(time_unit.substr(0, time_unit.size() - suffix.size()));
      char* end = nullptr;
      const double fps = std::strtod(number.c_str(), &end);
      if (end == number.c_str() + number.size() && fps > 0 && std::isfinite(fps)) return fps;
    }
  }
  return 24;
}

Value frames_from_ticks(std::int64_t ticks, double ticks_per_second, double fps) {
  const double frames = static_cast<double>(ticks) * fps / ticks_per_second;
  const double whole = std::round(frames);
  if (std::fabs(frames - whole) < 1e-6 && std::fabs(whole) < 9e15) return Value::integer(static_cast<std::int64_t>(whole));
  return Value::real(frames);
}

}  // namespace binary
}  // namespace mayascene
