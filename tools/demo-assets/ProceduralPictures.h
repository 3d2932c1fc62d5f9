// Pictures for the demo's procedural part: the flake atlas at the flake
// renderer's default path (10 x 10 cells of six-armed flakes, coverage in every
// colour channel), and the five maps "PBR_AutoMaterial" looks up for each of
// the objects it dresses ("<name>_albedo.png" ... in rsrc/assets).
#pragma once

#include "tools/demo-assets/Pictures.h"

#include <vector>

namespace vorn::demoassets {

std::vector<Picture> drawProceduralPictures();

}  // namespace vorn::demoassets
