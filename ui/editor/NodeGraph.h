// The node-graph panel: one box per node, a line for every connection, and
// the wiring gestures. Press an output socket, then an input socket, to
// connect (a refusal is said in one line, not ignored); press a connected
// input socket to disconnect it; a middle drag on the empty graph pans it.
// Box positions are kept relative to the panel, as the layout file stores them.
#pragma once

#include "engine/Engine.h"
#include "ui/widgets/UI_Node.h"
#include "ui/widgets/UI_Panel.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vorn::ui::editor {

class NodeGraph : public UI_Panel, public UI_NodeHost {
public:
    // What the graph tells the editor.
    struct Listener {
        std::function<void(const std::string& nodeName)> openParameters;
        std::function<void(const std::string& nodeName)> selected;
        std::function<void(const std::string& message)> say;
        std::function<void()> changed;  // wiring, moves, aliases
    };

    NodeGraph(engine::Engine& engine, int32_t x, int32_t y, int32_t width, int32_t height);

    void draw() override;
    bool handleEvent(const UI_Event& event) override;

    // One box per node at its stored position; nodes without one are placed
    // in columns by their distance from the graph's sources.
    void rebuild(std::unordered_map<std::string, std::pair<float, float>>& layout,
                 const std::unordered_map<std::string, uint8_t>& flags);
    UI_Node* box(const std::string& nodeName) const;
    const std::vector<UI_Node*>& boxes() const { return boxes_; }
    // Box positions relative to the panel.
    std::pair<float, float> placeOf(const UI_Node& box) const { return {float(box.x - x), float(box.y - y)}; }
    // Where a new box goes: inside the visible part of the graph, staggered.
    std::pair<float, float> placeInView();

    std::string selectedNode;
    std::string pendingSource;  // the node whose output waits for an input
    Listener listener;

    // UI_NodeHost
    void openParameters(UI_Node& box) override;
    void socketPressed(UI_Node& box, int32_t input) override;
    void boxPressed(UI_Node& box) override;
    std::vector<UI_Node*> upstreamBoxes(UI_Node& box) override;

protected:
    bool handleOwnEvent(const UI_Event& event) override;

private:
    void drawConnection(const UI_Node& from, const UI_Node& to, int32_t input);

    engine::Engine& engine_;
    std::vector<UI_Node*> boxes_;
    std::unordered_map<std::string, UI_Node*> byName_;
    bool panning_ = false;
    int32_t panX_ = 0, panY_ = 0;    // the mouse at the last pan step
    int32_t gridX_ = 0, gridY_ = 0;  // how far the graph has been panned
    int32_t placed_ = 0;
};

}  // namespace vorn::ui::editor
