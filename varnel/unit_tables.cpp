#include "unit_tables.h"

namespace varnel {

const std::array<WeaponRow, kWeaponCount>& weaponTable() {
  static constexpr std::array<WeaponRow, kWeaponCount> kTable = {{
      {"None", 0},
      {"Pistol", 1},
      {"Rifle", 2},
      {"AutoCannon", 2},
      {"HeavyCannon", 2},
      {"RocketLauncher", 2},
      {"StunRod", 1},
      {"Grenade", 1},
      {"LaserPistol", 1},
      {"LaserRifle", 2},
      {"HeavyLaser", 2},
      {"PlasmaPistol", 1},
      {"PlasmaRifle", 2},
      {"HeavyPlasma", 2},
      {"SmallLauncher", 1},
      {"BlasterLauncher", 2},
      {"PsiAmp", 1},
  }};
  return kTable;
}

const std::array<std::string_view, kUnitTypeCount>& unitTypeTable() {
  static constexpr std::array<std::string_view, kUnitTypeCount> kTable = {
      "Sectoid/Muton/X-Com", "Snakeman", "Floater", "Ethereal/Civilian",
      "Chrysalid",           "Zombie",   "Celatid", "Silacoid",
  };
  return kTable;
}

}  // namespace varnel
