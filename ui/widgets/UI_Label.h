// A line of text in a colour: the editor's clock, frame time and messages.
#pragma once

#include "ui/UI_Master.h"
#include "ui/UI_Object.h"

#include <cstdint>
#include <string>

namespace vorn::ui {

class UI_Label : public UI_Object {
public:
    UI_Label(std::string text, int32_t x, int32_t y, int32_t width, int32_t height, int32_t pixelSize = 12);

    void draw() override;

    std::string text;
    const std::string* source = nullptr;  // shown instead of text when set
    Color colour{0.95f, 0.95f, 0.95f, 1.0f};
    int32_t pixelSize = 12;
    int32_t font = 0;
};

}  // namespace vorn::ui
