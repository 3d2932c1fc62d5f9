// A widget that shows a picture (a GL_Image's first texture) through a view
// matrix over a selectable background, with handles: labelled points bound to
// two-float parameters (positions in the panel's unit square) that the user
// drags. The wheel zooms about the mouse, a middle drag pans, a right click
// resets the view.
//
// The player's full-screen panel is passive: it draws only its picture and
// swallows every event, so nothing under it reacts.
#pragma once

#include "engine/Value_Keyframe_Handler.h"
#include "render/GL_Image.h"
#include "render/Matrix.h"
#include "ui/UI_Object.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::ui {

class UI_ImagePanel : public UI_Object {
public:
    struct Handle {
        float* target = nullptr;  // two floats: (u, v) in the panel's unit square
        std::string label;
        std::string nodeName;
        std::string parameterName;
        engine::Value_Keyframe_Handler* keyframeHandler = nullptr;
        UI_ImagePanel* panel = nullptr;
    };

    UI_ImagePanel(std::string name, int32_t x, int32_t y, int32_t width, int32_t height, bool passive);

    void draw() override;
    bool handleEvent(const UI_Event& event) override;

    void addHandle(Handle handle);
    void clearHandles();

    // Where a point of the panel's own space lands on screen through the view.
    float viewX(float px, float py) const { return px * viewMatrix[0] + py * viewMatrix[4] + viewMatrix[12]; }
    float viewY(float px, float py) const { return px * viewMatrix[1] + py * viewMatrix[5] + viewMatrix[13]; }

    std::string name;
    render::GL_Image* image = nullptr;       // not owned
    int32_t* backgroundSelector = nullptr;   // 0 black, 1 white, 2 red, 3 green, 4 blue; owned elsewhere
    bool passive = false;
    render::Mat4 viewMatrix = render::identityMatrix();
    std::vector<Handle> handles;

private:
    bool handleDrag(const UI_Event& event);

    int32_t lastMouseX_ = 0, lastMouseY_ = 0;
    bool panning_ = false;
    bool dragging_ = false;
    int32_t dragX_ = 0, dragY_ = 0;  // shared by pans and handle drags
    std::size_t draggedHandle_ = 0;
};

}  // namespace vorn::ui
