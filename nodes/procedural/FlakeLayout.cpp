#include "nodes/procedural/FlakeLayout.h"

#include "engine/CrtRandom.h"

namespace vorn::nodes {

std::vector<FlakeVertex> generateFlakes(int n, float atlasSize) {
    std::vector<FlakeVertex> flakes(std::size_t(n > 0 ? n : 0));
    engine::CrtRandom random(0xCAFFEE13u);
    // A value in [-1, 0.999]; every draw is one rand() in a fixed order.
    auto signedUnit = [&random] { return float(random.next() % 2000) / 1000.0f - 1.0f; };
    const int cells = int(atlasSize);
    for (FlakeVertex& flake : flakes) {
        flake.positionSize[0] = signedUnit();
        flake.positionSize[1] = signedUnit();
        flake.positionSize[2] = signedUnit();
        flake.positionSize[3] = 1.0f;
        flake.textureOffset[0] = float(random.next() % cells) / atlasSize;
        flake.textureOffset[1] = float(random.next() % cells) / atlasSize;
        flake.textureOffset[2] = 1.0f / atlasSize;
        flake.textureOffset[3] = 1.0f / atlasSize;
        flake.randoms[0] = signedUnit();
        flake.randoms[1] = signedUnit();
        flake.randoms[2] = signedUnit();
        flake.randoms[3] = 1.0f;
        random.next();  // drawn and discarded, as the layout has always done
    }
    return flakes;
}

}  // namespace vorn::nodes
