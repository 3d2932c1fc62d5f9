// "FallingModel": a shower of copies of the first object of the input model.
// Instances are scattered over a square of side 2 x "Area" (fixed layout from
// the C runtime generator seeded with 5000); each falls on its own time shift,
// grows in over its first second and starts again after "Time Alive":
//
//   base = fmod(Speed · t + shift - "Time Offset", "Time Alive")   (C fmod)
//   copy matrix = T(Area·x, -base², Area·z) · object matrix · model's placement · S(min(base², 1))
//
// The copies borrow the input's GL objects (sharesObjects) and are rebuilt
// every frame; only a change of the integer value of "Count" or of the
// "Speed" text draws a new layout. "Count" is held at 100,000.
#pragma once

#include "nodes/scene/GeometryNode.h"

#include <string>
#include <vector>

namespace vorn::nodes {

struct FallingInstance {
    float x, y, z;
    float timeShift;
    float spare;  // drawn, never used
};

class GeometryNode_FallingModels : public GeometryNode {
public:
    static constexpr int kMaxCount = 100000;

    GeometryNode_FallingModels(engine::Engine& owner, std::string name);

    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    bool process() override;

    const std::vector<FallingInstance>& instances() const { return instances_; }

    // Parameters, in registration order.
    std::string count;  // decimal integer
    std::string speed;  // decimal number
    float timeOffset = 0.0f;
    float timeAlive = 10.0f;
    float area = 10.0f;
    float translate[3] = {0, 0, 0};
    float rotate[3] = {0, 0, 0};  // degrees
    float scale = 1.0f;

private:
    void generate(int n);
    void place();

    std::vector<FallingInstance> instances_;
    std::string generatedSpeedText_{1, '\0'};  // equals no parameter text: the first process generates
};

// The integer a C runtime atoi reads from the front of text, saturated instead
// of overflowing: 0 when text does not start with a number.
int leadingInteger(const std::string& text);

}  // namespace vorn::nodes
