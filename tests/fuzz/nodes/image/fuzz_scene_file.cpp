// Any scene file: the reader keeps within the bytes given, the key lookup ends
// on whatever times the keys hold, and a file read whole comes back byte for
// byte from the writer and through vorn-scene's JSON form.
#include <cmath>

#include "nodes/image/ParallaxRules.h"
#include "nodes/image/SceneFile.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tools/scene/SceneJson.h"

using namespace vorn;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    nodes::SceneFileRead read = nodes::readSceneFile({data, size});
    std::size_t used = 0;
    for (const nodes::SceneLayerRecord& layer : read.layers) {
        check(layer.name.size() <= nodes::kSceneNameBytes);
        used += nodes::kSceneNameBytes + 8 + layer.keys.size() * nodes::kSceneKeyBytes;
        if (layer.keys.empty()) continue;
        for (float tau : {layer.keys.front().time, layer.keys.back().time, 0.5f, -1.0f, 1e30f, NAN}) {
            nodes::KeyBlend blend = nodes::lookupKeys(layer.keys, tau);
            check(blend.i < layer.keys.size() && (blend.j == blend.i || blend.j == blend.i + 1));
            check(blend.j < layer.keys.size());
        }
    }
    check(used <= size);
    if (read.damaged) {
        check(read.damageOffset <= size && !read.problem.empty());
        return 0;
    }
    std::vector<uint8_t> written = nodes::writeSceneFile(read.layers);
    check(written == std::vector<uint8_t>(data, data + size));
    tools::SceneJson json = tools::SceneJson::parse(tools::sceneToJsonText(read.layers));
    check(nodes::writeSceneFile(tools::sceneFromJson(json)) == written);
    return 0;
}
