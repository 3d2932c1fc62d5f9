// The pictures of the demo's parallax valley, under "Graphics/" where the
// "2D Parallax Engine" looks for layer pictures: two skies, three ranges of
// hills wider than the frame (so they can slide past at their own speeds), a
// neon sign that glows, a billboard whose screen is a mask for another node's
// picture, and the "black.png" that "Solid" layers use.
#pragma once

#include "tools/demo-assets/Pictures.h"

#include <vector>

namespace vorn::demoassets {

std::vector<Picture> drawParallaxPictures();

}  // namespace vorn::demoassets
