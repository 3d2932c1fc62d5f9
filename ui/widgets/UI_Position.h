// Two floats (a position) edited through two sliders, "X" and "Y". The
// sliders edit the pair in place and tell the position, which tells its own
// listener and keys the pair when it is keyed.
#pragma once

#include "engine/Value.h"
#include "ui/UI_Evt_ValueChanged.h"
#include "ui/UI_Object.h"
#include "ui/widgets/UI_Slider.h"

#include <cstdint>
#include <string>

namespace vorn::ui {

class UI_Position : public UI_Object, private UI_Evt_ValueChanged {
public:
    UI_Position(const engine::ValueVec2& record, int32_t x, int32_t y, ParameterKeys keys);

    void draw() override;
    int32_t preferredHeight() const override { return 40; }
    bool handleEvent(const UI_Event& event) override;
    void setPosition(int32_t newX, int32_t newY) override;
    void setOwner(UI_Master* master) override;
    void refresh() override;

    std::string name;
    UI_Slider sliderX;
    UI_Slider sliderY;

private:
    void valueChanged(UI_Object* widget) override;
};

}  // namespace vorn::ui
