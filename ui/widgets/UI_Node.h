// A node box of the graph editor: the node's alias on a title bar coloured
// from its type name, one row per input with its socket on the left edge, the
// output socket at the right end of the title. The box is dragged by its
// title or body; the boxes of the nodes feeding it follow as its flag says
// (set: step by step while Shift is held; clear: by the whole displacement on
// release). A right press opens the node's parameters, a double click on the
// title edits the alias, the small square beside the output socket toggles
// the flag. Socket presses and selection go to the graph that holds the box.
#pragma once

#include "ui/UI_Object.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vorn::ui {

class UI_Node;

// What a box asks of the graph it sits in.
class UI_NodeHost {
public:
    virtual ~UI_NodeHost() = default;
    virtual void openParameters(UI_Node& box) = 0;
    // input -1 is the output socket.
    virtual void socketPressed(UI_Node& box, int32_t input) = 0;
    virtual void boxPressed(UI_Node& box) = 0;
    // The boxes of every node that feeds this one, directly or through others.
    virtual std::vector<UI_Node*> upstreamBoxes(UI_Node& box) = 0;
};

// A node's colour from a name: the bytes summed into three accumulators in
// turn, each modulo 255 over 255 (the third is red, the second green, the
// first blue), scaled to length 0.75.
std::array<float, 4> nodeColour(const std::string& name);

class UI_Node : public UI_Object {
public:
    static constexpr int32_t kWidth = 160;
    static constexpr int32_t kTitleHeight = 20;
    static constexpr int32_t kRowHeight = 16;

    UI_Node(UI_NodeHost& host, std::string nodeName, std::string typeName, int32_t x, int32_t y,
            std::vector<std::string> inputNames);

    void draw() override;
    int32_t preferredHeight() const override { return kTitleHeight; }
    bool handleEvent(const UI_Event& event) override;

    // The socket under (px, py): an input index, -1 for the output, -2 for none.
    int32_t socketAt(int32_t px, int32_t py) const;
    // Centre of the output socket and of input i, where connection lines end.
    int32_t outputX() const { return x + width - 4; }
    int32_t outputY() const { return y + kTitleHeight / 2; }
    int32_t inputX() const { return x + 4; }
    int32_t inputY(int32_t i) const { return y + kTitleHeight + i * kRowHeight + kRowHeight / 2; }
    bool moving() const { return moving_; }

    std::string nodeName;
    std::string typeName;
    std::vector<std::string> inputNames;
    uint8_t flag = 1;       // how the feeding boxes follow a move; kept in the GUI file
    bool enabled = true;    // a disabled box ignores events
    bool error = false;     // the node reports a failed resource
    bool pendingOutput = false;  // its output waits for an input to connect to
    bool editingAlias = false;
    std::string typed;

private:
    bool overFlagBox(int32_t px, int32_t py) const;
    void moveUpstream(int32_t dx, int32_t dy);
    void finishAlias(bool store);

    UI_NodeHost& host_;
    bool moving_ = false;
    int32_t grabX_ = 0, grabY_ = 0;    // mouse minus box position at the press
    int32_t startX_ = 0, startY_ = 0;  // box position at the press
    int32_t mouseX_ = 0, mouseY_ = 0;
};

}  // namespace vorn::ui
