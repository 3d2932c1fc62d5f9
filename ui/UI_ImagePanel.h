// A widget that shows a picture (a GL_Image's first texture) through a view
// matrix over a selectable background. The player's full-screen panel is
// passive: it draws only its picture and swallows every event, so nothing
// under it reacts. Pan, zoom and handle dragging belong to the editor's
// panels and are not part of this class yet.
#pragma once

#include "render/GL_Image.h"
#include "render/Matrix.h"
#include "ui/UI_Object.h"

#include <cstdint>
#include <string>

namespace vorn::ui {

class UI_ImagePanel : public UI_Object {
public:
    UI_ImagePanel(std::string name, int32_t x, int32_t y, int32_t width, int32_t height, bool passive);

    void draw() override;
    bool handleEvent(const UI_Event& event) override;

    std::string name;
    render::GL_Image* image = nullptr;       // not owned
    int32_t* backgroundSelector = nullptr;   // 0 black, 1 white, 2 red, 3 green, 4 blue; owned elsewhere
    bool passive = false;
    render::Mat4 viewMatrix = render::identityMatrix();
};

}  // namespace vorn::ui
