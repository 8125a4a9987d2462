// One unit profile: which sprite set becomes which output set, and how.
#pragma once

#include <cstdint>
#include <string>

namespace varnel {

inline constexpr std::int16_t kMinWeaponOffsetY = -10;
inline constexpr std::int16_t kMaxWeaponOffsetY = 10;

struct UnitProfile {
  std::string Name;        // also the name of its section in the profile file
  std::string SourceFile;  // any frame of the source set
  std::int16_t UnitType = 0;
  std::int16_t Weapon = 0;
  std::int16_t WeaponOffsetY = 0;  // positive moves the weapon down
  std::string OutputFile;          // any frame of the output set
};

}  // namespace varnel
