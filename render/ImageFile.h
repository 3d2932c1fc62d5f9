// Image files as pixels ready for a GL_MemTexture: 8-bit RGB or RGBA rows,
// tightly packed, top row first (texture row 0 is the top of the picture).
#pragma once

#include "platform/ImageDecoder.h"

#include <string_view>

namespace vorn::render {

// width, height, channels (3 or 4) and pixels; all zero / empty when the file
// cannot be read or is not an 8-bit RGB or RGBA picture (the decoder has
// reported why). With premultiply, RGBA colours are multiplied by alpha.
using LoadedImage = platform::DecodedImage;

LoadedImage LoadImageFile(std::string_view path, bool premultiply);

}  // namespace vorn::render
