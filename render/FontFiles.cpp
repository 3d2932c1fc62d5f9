#include "render/FontFiles.h"

#include "platform/FontLookup.h"
#include "platform/Paths.h"

namespace vorn::render {

std::string fontFileFor(std::string_view shippedFile, const std::string& family) {
    if (platform::fileExists(shippedFile)) return platform::resolvePath(shippedFile);
    return platform::findFontFile(family);
}

}  // namespace vorn::render
