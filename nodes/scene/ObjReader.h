// "3D_ObjReader": a Wavefront OBJ model as GPU mesh objects (ObjFile.h reads
// it, ObjConversion.h turns it into the system's y-down world), placed by
// Translate, Rotate and Scale plus a constant spin, optionally moved along a
// path of animation keys (AnimationKeys.h) at 60 keys a second that overwrites
// Translate every frame. The model is reloaded only when its file name or a
// load option changes, the keys only when their file name changes; a reload
// releases the previous objects at once.
//
// "Center", "Normalize" and "Unwrap Def." do nothing but force a reload and the
// bounds computation that sets the pivot; "Center Pivot" adds the pivot (the
// centre of the model's bounds) to the translation.
#pragma once

#include "nodes/scene/AnimationKeys.h"
#include "nodes/scene/GeometryNode.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::nodes {

class GeometryNode_ObjReader : public GeometryNode {
public:
    // Option bits of a load.
    enum LoadFlag : uint32_t { Center = 1, Normalize = 2, UnwrapDefault = 8, CenterPivot = 17, InvertNormals = 32 };

    GeometryNode_ObjReader(engine::Engine& owner, std::string name);

    // Material nodes, on the one input "Material".
    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    bool process() override;

    std::string filename;
    std::string loadedFilename;
    uint32_t loadFlags = 0;
    float translate[3] = {0, 0, 0};
    float rotate[3] = {0, 0, 0};  // degrees
    float scale = 1.0f;
    std::string keysFilename;
    std::string loadedKeysFilename;
    float autoRotate[3] = {0, 0, 0};  // degrees per second
    float pivot[3] = {0, 0, 0};
    bool normalizeOption = false;
    bool centerOption = false;
    bool unwrapOption = false;
    bool centerPivotOption = false;
    bool invertNormalsOption = false;
    std::vector<AnimationKey> keys;

private:
    uint32_t optionBits() const;
    void reloadMesh();
    void reloadKeys();

    // A named file that gave nothing (reported once, when it was read).
    bool meshFailed_ = false;
    bool keysFailed_ = false;
};

}  // namespace vorn::nodes
