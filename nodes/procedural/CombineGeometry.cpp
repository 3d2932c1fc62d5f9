#include "nodes/procedural/CombineGeometry.h"

#include "engine/Engine.h"

#include <cstdlib>

namespace vorn::nodes {

GeometryNode_CombineGeometry::GeometryNode_CombineGeometry(engine::Engine& owner, std::string name)
    : GeometryNode(owner, std::move(name)) {
    sharesObjects = true;
    setInputCount(kInputs);
    for (std::string& inputName : inputNames) inputName = "Geo";
    owner.addFloat3(*this, "Translate", translate, -50.0f, 50.0f, 2, {0, 0, 0});
    owner.addFloat3(*this, "Rotate", rotate, -360.0f, 360.0f, 2, {0, 0, 0});
    owner.addFloat(*this, "Scale", &scale, -360.0f, 10.0f, 2, 1.0f, true);
    owner.addString(*this, "mrx", &mrx, "1");
    owner.addString(*this, "mry", &mry, "1");
    owner.addString(*this, "mrz", &mrz, "1");
    owner.addString(*this, "rx", &rx, "0");
    owner.addString(*this, "ry", &ry, "0");
    owner.addString(*this, "rz", &rz, "0");
    owner.addString(*this, "tx", &tx, "0");
    owner.addString(*this, "ty", &ty, "0");
    owner.addString(*this, "tz", &tz, "0");
    owner.addString(*this, "tsc", &tsc, "1");
}

bool GeometryNode_CombineGeometry::acceptsInput(int32_t, const engine::Node& source) const {
    return source.kind() == engine::NodeKind::Geometry;
}

bool GeometryNode_CombineGeometry::process() {
    if (owner->drawingEnabled == 0) return true;
    material = nullptr;
    // Records are overwritten in place, so a steady frame reuses their storage.
    std::size_t count = 0;
    for (int i = 0; i < kInputs; ++i) {
        GeometryNode* g = geometryInput(*this, i);
        if (!g) continue;
        if (objects.size() < count + g->objects.size()) objects.resize(count + g->objects.size());
        for (const MeshObject& o : g->objects) {
            MeshObject& copy = objects[count++];
            copy = o;
            copy.matrix = render::matrixProduct(g->modelMatrix, o.matrix);
            if (!copy.material) copy.material = g->material;
        }
        if (!material) material = g->material;
    }
    objects.resize(count);

    auto number = [](const std::string& text) { return float(std::atof(text.c_str())); };
    const float translateScale = number(tsc);
    render::Vec3 t = {translateScale * translate[0] + number(tx), translateScale * translate[1] + number(ty),
                      translateScale * translate[2] + number(tz)};
    render::Vec3 r = {number(rx) + number(mrx) * rotate[0], number(ry) + number(mry) * rotate[1],
                      number(rz) + number(mrz) * rotate[2]};
    modelMatrix = composePlacement(t, r, scale);
    return true;
}

}  // namespace vorn::nodes
