// The bundled demo's pictures, drawn procedurally so that the repository holds
// only the code that makes them. Each is tightly packed 8-bit rows, top row first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::demoassets {

struct Picture {
    std::string name;  // file name relative to the demo folder, for example "rsrc/misc/loading.png"
    int width = 0;
    int height = 0;
    int channels = 3;  // 3 RGB, 4 RGBA
    std::vector<uint8_t> pixels;
};

std::vector<Picture> drawPictures();

}  // namespace vorn::demoassets
