#include "nodes/image/EffectLibrary.h"

#include "nodes/image/library/ChromaticAbberation.frag.glsl.h"
#include "nodes/image/library/ColorCorrect.frag.glsl.h"
#include "nodes/image/library/DigitalGlitch.frag.glsl.h"
#include "nodes/image/library/DirectionalBlur.frag.glsl.h"
#include "nodes/image/library/Displace2D.frag.glsl.h"
#include "nodes/image/library/LensBlur.frag.glsl.h"
#include "nodes/image/library/LumaToAlpha.frag.glsl.h"
#include "nodes/image/library/PerlinNoise3D.frag.glsl.h"
#include "nodes/image/library/RadialOutBlur.frag.glsl.h"
#include "nodes/image/library/SimpleNoise.frag.glsl.h"

#include <map>
#include <utility>

namespace vorn::nodes {

namespace {

struct Library {
    std::map<std::string, std::string, std::less<>> sources;
    std::vector<std::string> order;
};

Library& library() {
    static Library instance;
    return instance;
}

}  // namespace

void registerEffectLibrary() {
    static const std::pair<const char*, const char*> kEntries[] = {
        {"DigitalGlitch", glsl_DigitalGlitch_frag},
        {"LensBlur", glsl_LensBlur_frag},
        {"RadialOutBlur", glsl_RadialOutBlur_frag},
        {"ChromaticAbberation", glsl_ChromaticAbberation_frag},
        {"PerlinNoise3D", glsl_PerlinNoise3D_frag},
        {"Displace2D", glsl_Displace2D_frag},
        {"DirectionalBlur", glsl_DirectionalBlur_frag},
        {"SimpleNoise", glsl_SimpleNoise_frag},
        {"LumaToAlpha", glsl_LumaToAlpha_frag},
        {"ColorCorrect", glsl_ColorCorrect_frag},
    };
    Library& lib = library();
    for (const auto& [name, source] : kEntries)
        if (lib.sources.emplace(name, source).second) lib.order.push_back(name);
}

const std::string* effectLibrarySource(std::string_view name) {
    const Library& lib = library();
    auto found = lib.sources.find(name);
    return found == lib.sources.end() ? nullptr : &found->second;
}

std::vector<std::string> effectLibraryNames() { return library().order; }

}  // namespace vorn::nodes
