// The bundled demo's 3D scene: a relic (pedestal, column, star crown and a
// ring on a round floor) written as an OBJ model with an MTL library, the
// animation keys that raise it into view, its five PBR maps, the
// equirectangular environment the renderer reads by default, and the default
// maps of "PBR_FixMaterial".
#pragma once

#include "tools/demo-assets/Pictures.h"

#include <string>
#include <vector>

namespace vorn::demoassets {

struct TextFile {
    std::string name;  // relative to the demo folder
    std::string text;
};

// relic.obj, relic.mtl and relic.keys under rsrc/models.
std::vector<TextFile> relicFiles();

// The relic's albedo, normal, roughness, metalness and emission maps (PNG).
std::vector<Picture> relicMaps();

// Pictures stored as JPEG: rsrc/environments/env-default.jpg and the
// material defaults rsrc/misc/white.jpg, norm.jpg and black.jpg.
std::vector<Picture> jpegPictures();

}  // namespace vorn::demoassets
