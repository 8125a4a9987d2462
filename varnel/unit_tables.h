// The fixed weapon and unit-type tables. A profile stores indexes into them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace varnel {

struct WeaponRow {
  std::string_view text;  // list text and file-name prefix of the weapon's layer bitmaps
  int hands;              // 0 none, 1 one-handed, 2 two-handed
};

inline constexpr int kWeaponCount = 17;
inline constexpr int kUnitTypeCount = 8;

const std::array<WeaponRow, kWeaponCount>& weaponTable();
const std::array<std::string_view, kUnitTypeCount>& unitTypeTable();

// The unit types with a frame layout; the others are listed but cannot be made.
inline constexpr int kUnitTypesWithLayout = 6;

enum UnitType : std::int16_t {
  kSectoidMutonXCom = 0,
  kSnakeman = 1,
  kFloater = 2,
  kEtherealCivilian = 3,
  kChrysalid = 4,
  kZombie = 5,
};

}  // namespace varnel
