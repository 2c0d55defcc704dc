// The units of a Maya Binary header (LUNI, AUNI, TUNI) with the names a .ma currentUnit uses, and
// time values: stored as integer ticks, read as frames of the scene's time unit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "mayascene/scene.h"

namespace mayascene {
namespace binary {

// "cm" -> "centimeter", "ft" -> "foot" ...; a name this table lacks is kept.
std::string linear_unit_name(std::string_view abbreviation);
// "deg" -> "degree", "rad" -> "radian" ...
std::string angle_unit_name(std::string_view abbreviation);
// Frames per second of a time unit ("film" 24, "ntsc" 30, "23.976fps" ...); 24 for a name Maya does not use.
double frames_per_second(std::string_view time_unit);
// Ticks as the frame value a .ma setAttr holds: a whole number of frames is an integer.
Value frames_from_ticks(std::int64_t ticks, double ticks_per_second, double frames_per_second);

// The factor from radians, in which a .mb stores angles, to the angle unit a .ma writes them in.
double radians_to(std::string_view angle_unit);
// True for the angle attributes this reader converts: rotations of transforms (and of the
// joints, handles and constraints derived from them), joint orients and constraint offsets.
bool is_angle_attribute(std::string_view node_type, bool transform, std::string_view name);

// Before Maya 2018 time values are 32-bit ticks at 6000 a second.
constexpr double kOldTicksPerSecond = 6000;

}  // namespace binary
}  // namespace mayascene
