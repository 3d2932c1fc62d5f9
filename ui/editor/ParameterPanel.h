// The parameter panel: one widget per parameter of the node last opened, in
// registration order, stacked from y 25 (floats get a value control, texts a
// text box, two floats a position or a direction, four floats a colour,
// integers with choices a selection, booleans a checkbox). Every widget keys
// and links through the engine. Positions also get a handle on the viewer.
// The wheel scrolls a panel taller than the column it stands in.
#pragma once

#include "engine/Engine.h"
#include "ui/UI_Evt_ValueChanged.h"
#include "ui/UI_ImagePanel.h"
#include "ui/widgets/UI_Panel.h"

#include <string>

namespace vorn::ui::editor {

class ParameterPanel : public UI_Panel {
public:
    ParameterPanel(engine::Engine& engine, int32_t x, int32_t y, int32_t width, int32_t height);

    // Fills the panel for the node (empties it for an unknown one); the
    // widgets tell listener of their changes; handles go to viewer.
    void show(const std::string& nodeName, UI_Evt_ValueChanged* listener, UI_ImagePanel* viewer);
    void clear(UI_ImagePanel* viewer);
    void draw() override;

    const std::string& nodeName() const { return nodeName_; }
    int32_t contentHeight() const { return contentHeight_; }
    // The column the panel may fill; taller content scrolls.
    int32_t columnHeight = 0;

protected:
    bool handleOwnEvent(const UI_Event& event) override;

private:
    engine::Engine& engine_;
    std::string nodeName_;
    int32_t contentHeight_ = 0;
    int32_t scroll_ = 0;
};

}  // namespace vorn::ui::editor
