// An integer with named choices: shows the current choice and an arrow. A
// press on its right two thirds opens the list below it; moving over a row
// highlights it and releasing the button chooses it. A right click restores
// the default. Events are never reported as handled.
#pragma once

#include "ui/UI_Object.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::ui {

class UI_Selection : public UI_Object {
public:
    static constexpr int32_t kX = 5;
    static constexpr int32_t kRowHeight = 20;

    // x is fixed; the second argument is kept for the editor's call shape.
    UI_Selection(std::string name, int32_t ignored, int32_t y, int32_t width);

    void draw() override;
    bool handleEvent(const UI_Event& event) override;

    bool open() const { return open_; }

    std::string name;
    int32_t* target = nullptr;
    int32_t defaultValue = 0;
    std::vector<std::string> choices;
    int32_t highlighted = -1;

private:
    bool open_ = false;
};

}  // namespace vorn::ui
