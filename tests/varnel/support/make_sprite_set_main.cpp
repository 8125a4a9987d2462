// Writes a synthetic sprite set for the command-line test: FOLDER/sprites
// with unit000.bmp .. unit283.bmp and unit_DEAD.bmp, an empty FOLDER/out, and
// FOLDER/home/Profiles.ini with the profiles "Muton" (a rifle) and "Zombie".
#include <filesystem>
#include <iostream>

#include "profile_store.h"
#include "standard_functions.h"
#include "support/synthetic_sprite_set.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: varnel-test-sprite-set FOLDER\n";
    return 2;
  }
  const std::string folder = argv[1];
  const std::string home = varnel::BuildPath(folder, "home");
  for (const char* sub : {"sprites", "out", "home"}) std::filesystem::create_directories(varnel::BuildPath(folder, sub));
  varnel::testing::writeSpriteSet(varnel::BuildPath(folder, "sprites/unit"), true);

  varnel::UnitProfile muton;
  muton.Name = "Muton";
  muton.SourceFile = varnel::BuildPath(folder, "sprites/unit000.bmp");
  muton.OutputFile = varnel::BuildPath(folder, "out/mut0000.bmp");
  muton.Weapon = 2;
  varnel::UnitProfile zombie = muton;
  zombie.Name = "Zombie";
  zombie.UnitType = 5;
  zombie.OutputFile = varnel::BuildPath(folder, "out/zom0000.bmp");
  const varnel::Status saved = varnel::saveProfiles(varnel::BuildPath(home, "Profiles.ini"),
                                                    varnel::BuildPath(home, "Profiles.old"), {muton, zombie}, 0);
  if (!saved) {
    std::cerr << saved.message() << '\n';
    return 1;
  }
  return 0;
}
