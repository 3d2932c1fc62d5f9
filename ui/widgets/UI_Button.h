// A command button of the editor: a label, the shortcut that does the same,
// and for toggles a pressed state. Releasing the left button over it tells the
// listener's onWidgetEvent with argument 0.
#pragma once

#include "ui/UI_Object.h"

#include <cstdint>
#include <string>

namespace vorn::ui {

class UI_Button : public UI_Object {
public:
    UI_Button(std::string label, std::string shortcut, int32_t x, int32_t y, int32_t width, int32_t height);

    void draw() override;
    bool handleEvent(const UI_Event& event) override;

    std::string label;
    std::string shortcut;  // shown beside the label, dimmed
    bool pressed = false;
};

}  // namespace vorn::ui
