// Assets of the demo's procedural part: the flake atlas at the flake
// renderer's default path (10 x 10 cells of six-armed flakes, coverage in every
// colour channel); "shard.obj", a small crystal whose copies fall through the
// scene; and the five maps "PBR_AutoMaterial" looks up for each object it
// dresses ("<name>_albedo.png" ... in rsrc/assets): the blob and the shard.
#pragma once

#include "tools/demo-assets/Pictures.h"
#include "tools/demo-assets/Scene3d.h"

#include <vector>

namespace vorn::demoassets {

std::vector<Picture> drawProceduralPictures();

// rsrc/models/shard.obj: one object "Shard", a six-sided double pyramid.
TextFile shardModel();

}  // namespace vorn::demoassets
