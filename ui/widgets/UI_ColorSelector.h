// Four floats (a colour) edited through four sliders, "Red", "Green", "Blue"
// and "Alpha", beside a swatch of the colour.
#pragma once

#include "ui/UI_Evt_ValueChanged.h"
#include "ui/UI_Object.h"
#include "ui/widgets/UI_Slider.h"

#include <array>
#include <cstdint>
#include <string>

namespace vorn::ui {

class UI_ColorSelector : public UI_Object, private UI_Evt_ValueChanged {
public:
    static constexpr int32_t kX = 5;

    // x is fixed; the second argument is kept for the editor's call shape.
    UI_ColorSelector(std::string name, int32_t ignored, int32_t y);

    // The four floats, their defaults and the parameter they key.
    void bind(float* target, const std::array<float, 4>& defaults, const ParameterKeys& keys);

    void draw() override;
    int32_t preferredHeight() const override { return 130; }
    bool handleEvent(const UI_Event& event) override;
    void setPosition(int32_t newX, int32_t newY) override;
    void setOwner(UI_Master* master) override;
    void refresh() override;

    std::string name;
    float* target = nullptr;
    std::array<UI_Slider, 4> sliders;

private:
    void valueChanged(UI_Object* widget) override;
};

}  // namespace vorn::ui
