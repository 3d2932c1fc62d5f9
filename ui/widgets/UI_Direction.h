// Two floats as a direction inside a circle: pressing or dragging on the right
// two thirds points it at the mouse (at most length 1); with Control held it
// snaps to the nearest of eight directions at length 0.5 or 1. A right click
// restores the default. S and P key it. Events are never reported as handled.
#pragma once

#include "ui/UI_Object.h"
#include "ui/widgets/ParameterKeys.h"

#include <array>
#include <cstdint>
#include <string>

namespace vorn::ui {

class UI_Direction : public UI_Object {
public:
    UI_Direction(std::string name, int32_t x, int32_t y, int32_t width);

    void draw() override;
    int32_t preferredHeight() const override { return 200; }
    bool handleEvent(const UI_Event& event) override;
    void refresh() override;

    int32_t radius() const { return height / 2 - 10; }
    int32_t centreX() const { return x + width - height / 2 + 5; }
    int32_t centreY() const { return y + height / 2 + 5; }

    std::string name;
    float* target = nullptr;  // x, y
    std::array<float, 2> defaultValue{};
    ParameterKeys keys;
    bool snapping = false;

private:
    void pointAt(int32_t mx, int32_t my);
    bool dragging_ = false;
};

}  // namespace vorn::ui
