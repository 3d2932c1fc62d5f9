#include "nodes/procedural/FallingModels.h"

#include "engine/CrtRandom.h"
#include "engine/Engine.h"
#include "platform/Debug.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace vorn::nodes {

GeometryNode_FallingModels::GeometryNode_FallingModels(engine::Engine& owner, std::string name)
    : GeometryNode(owner, std::move(name)) {
    sharesObjects = true;
    setInputCount(1);
    inputNames[0] = "Model";
    owner.addString(*this, "Count", &count, "32");
    owner.addString(*this, "Speed", &speed, "1.0");
    owner.addFloat(*this, "Time Offset", &timeOffset, -10.0f, 10.0f, 2, 0.0f, true);
    owner.addFloat(*this, "Time Alive", &timeAlive, 0.0f, 10.0f, 2, 10.0f, true);
    owner.addFloat(*this, "Area", &area, 0.0f, 50.0f, 2, 10.0f, true);
    owner.addFloat3(*this, "Translate", translate, -20.0f, 20.0f, 2, {0, 0, 0});
    owner.addFloat3(*this, "Rotate", rotate, 0.0f, 360.0f, 2, {0, 0, 0});
    owner.addFloat(*this, "Scale", &scale, 0.0f, 10.0f, 2, 1.0f, true);
}

bool GeometryNode_FallingModels::acceptsInput(int32_t index, const engine::Node& source) const {
    return index == 0 && source.kind() == engine::NodeKind::Geometry;
}

bool GeometryNode_FallingModels::process() {
    if (owner->drawingEnabled == 0) return true;
    int n = std::max(leadingInteger(count), 0);
    bool held = n > kMaxCount;
    n = std::min(n, kMaxCount);
    if (n != int(instances_.size()) || speed != generatedSpeedText_) {
        if (held)
            platform::debugLine("FallingModel " + name + ": \"Count\" " + count + " is held at " +
                                std::to_string(kMaxCount));
        generate(n);
    }
    place();
    modelMatrix = composePlacement({translate[0], translate[1], translate[2]}, {rotate[0], rotate[1], rotate[2]},
                                   scale);
    return true;
}

void GeometryNode_FallingModels::generate(int n) {
    generatedSpeedText_ = speed;
    instances_.assign(std::size_t(n), FallingInstance{});
    engine::CrtRandom random(5000);
    for (FallingInstance& instance : instances_) {
        int r1 = random.next(), r2 = random.next(), r3 = random.next(), r4 = random.next();
        instance.spare = float(r1 % 1000) / 1000.0f;
        instance.timeShift = float(r2 % 10000) / 10000.0f * timeAlive;
        instance.z = 1.0f - float(r3 % 2000) / 1000.0f;
        instance.x = 1.0f - float(r4 % 2000) / 1000.0f;
        instance.y = 0.0f;
    }
}

void GeometryNode_FallingModels::place() {
    material = nullptr;
    // Records are overwritten in place, so a steady frame reuses their storage.
    objects.resize(instances_.size());
    GeometryNode* model = geometryInput(*this, 0);
    if (!model || model->objects.empty()) {
        std::fill(objects.begin(), objects.end(), MeshObject{});
        return;
    }
    const MeshObject& first = model->objects.front();
    // Every copy shares object matrix · model placement; only the outer
    // translation and scale differ, so those are applied by hand.
    const render::Mat4 shared = render::matrixProduct(first.matrix, model->modelMatrix);
    const float speedValue = float(std::atof(speed.c_str()));
    const float time = owner->time;
    for (std::size_t i = 0; i < instances_.size(); ++i) {
        const FallingInstance& instance = instances_[i];
        float base = std::fmod(speedValue * time + instance.timeShift - timeOffset, timeAlive);
        float fall = base * base;
        float size = std::min(base * base, 1.0f);
        const float t[3] = {area * instance.x, -fall, area * instance.z};

        MeshObject& copy = objects[i];
        copy = first;
        // T · shared · S(size): columns 0-2 scaled by size, then the translation
        // added in proportion to each column's w (row 3).
        render::Mat4& m = copy.matrix;
        for (int column = 0; column < 4; ++column) {
            float k = column < 3 ? size : 1.0f;
            float w = shared[4 * column + 3] * k;
            for (int row = 0; row < 3; ++row) m[4 * column + row] = shared[4 * column + row] * k + t[row] * w;
            m[4 * column + 3] = w;
        }
    }
}

int leadingInteger(const std::string& text) {
    errno = 0;
    long value = std::strtol(text.c_str(), nullptr, 10);
    return int(std::clamp<long>(value, INT_MIN, INT_MAX));
}

}  // namespace vorn::nodes
