#include "render/ImageFile.h"

namespace vorn::render {

LoadedImage LoadImageFile(std::string_view path, bool premultiply) {
    std::optional<platform::DecodedImage> decoded = platform::decodeImageFile(path);
    if (!decoded) return {};
    if (premultiply) platform::premultiplyAlpha(*decoded);
    return std::move(*decoded);
}

}  // namespace vorn::render
