// Plain stand-ins for the layer art that cannot ship: the empty layer and one
// simple drawn weapon per weapon and facing.
#pragma once

#include <string>

#include "falqui_image.h"

namespace varnel {

// A 32x40 layer of the empty index only.
FalquiImageClass emptyLayer();
// A short bar pointing the way the facing looks, longer for two-handed
// weapons; the "None" weapon draws nothing.
FalquiImageClass placeholderWeaponLayer(int weapon, int facing);

// Null.bmp in folder and Resources/weapons/<weapon><facing>.bmp for every
// weapon and facing 1 to 8.
Status writePlaceholderResources(const std::string& folder);

}  // namespace varnel
