// A boolean parameter: its label and a box at the right end, filled when true.
// Releasing the left button over the box toggles it; a right click restores
// the default. Events are never reported as handled.
#pragma once

#include "ui/UI_Object.h"

#include <cstdint>
#include <string>

namespace vorn::ui {

class UI_Checkbox : public UI_Object {
public:
    UI_Checkbox(std::string label, int32_t x, int32_t y, int32_t width, bool* target, bool defaultValue);

    void draw() override;
    bool handleEvent(const UI_Event& event) override;

    bool overBox(int32_t px, int32_t py) const;

    std::string label;
    bool* target = nullptr;
    bool defaultValue = false;
};

}  // namespace vorn::ui
