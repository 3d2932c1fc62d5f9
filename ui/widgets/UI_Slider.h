// A float on a horizontal track: pressing the track puts the knob under the
// mouse, dragging moves it by the mouse step (a twentieth with Control held),
// a right click restores the default. S toggles keyframe tracks, P keys the
// current value. Position and colour editors are made of these.
#pragma once

#include "ui/UI_Object.h"
#include "ui/widgets/ParameterKeys.h"

#include <cstdint>
#include <string>

namespace vorn::ui {

class UI_Slider : public UI_Object {
public:
    static constexpr int32_t kX = 105;
    static constexpr int32_t kWidth = 280;

    // x is fixed; the second argument is kept for the editor's call shape.
    UI_Slider(std::string name, int32_t ignored, int32_t y);

    // The float the slider edits, its range, decimals and default.
    void bind(float* target, float minimum, float maximum, int32_t decimals, float defaultValue, ParameterKeys keys);

    void draw() override;
    bool handleEvent(const UI_Event& event) override;
    void refresh() override;

    int32_t trackLeft() const { return x + 110; }
    int32_t trackLength() const { return width - 120; }
    float value() const { return target ? *target : 0.0f; }

    std::string name;
    float* target = nullptr;
    float minimum = 0.0f, maximum = 1.0f, defaultValue = 0.0f;
    int32_t decimals = 2;
    ParameterKeys keys;
    float dragFactor = 1.0f;
    bool keyable = true;

private:
    void placeKnob(float offset);
    float knob_ = 0.0f;  // knob offset along the track while dragging
    int32_t lastX_ = 0;
};

}  // namespace vorn::ui
