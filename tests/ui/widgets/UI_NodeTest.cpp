// Node boxes: moving with their feeding boxes as the flag says, sockets,
// parameters and aliases reaching the graph that holds them.
#include "platform/WindowMessages.h"
#include "ui/UI_Master.h"
#include "ui/widgets/UI_Node.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

using namespace ui;

class GraphStub : public UI_NodeHost {
public:
    void openParameters(UI_Node& box) override { calls.push_back("parameters " + box.nodeName); }
    void socketPressed(UI_Node& box, int32_t input) override {
        calls.push_back("socket " + box.nodeName + " " + std::to_string(input));
    }
    void boxPressed(UI_Node& box) override { calls.push_back("pressed " + box.nodeName); }
    std::vector<UI_Node*> upstreamBoxes(UI_Node&) override { return upstream; }
    std::vector<UI_Node*> upstream;
    std::vector<std::string> calls;
};

UI_Event mouse(uint32_t kind, int x, int y, bool shift = false) { return UI_Event{kind, 0, x, y, 0, uint8_t(shift)}; }

TEST(UiNode, FeedingBoxesFollowStepByStepWithShiftOrAllAtOnceOnRelease) {
    for (uint8_t flag : {1, 0}) {
        UI_Master master;
        GraphStub graph;
        UI_Node source(graph, "Picture", "2D_ImgReader", 0, 0, {});
        UI_Node box(graph, "Glow 1", "Glow", 100, 100, {"Image", "Mask"});
        master.addTopLevel(&box);
        box.flag = flag;
        graph.upstream = {&source};

        EXPECT_TRUE(box.handleEvent(mouse(LeftDown, 150, 105)));
        EXPECT_EQ(master.capture, &box);
        box.handleEvent(mouse(MouseMove, 160, 115));
        box.handleEvent(mouse(MouseMove, 170, 125, true));
        EXPECT_EQ(box.x, 120);
        EXPECT_EQ(box.y, 120);
        // Flag set: only the shifted step; clear: nothing until the release.
        EXPECT_EQ(source.x, flag ? 10 : 0) << int(flag);
        box.handleEvent(mouse(LeftUp, 170, 125));
        EXPECT_EQ(master.capture, nullptr);
        EXPECT_EQ(source.x, flag ? 10 : 20) << int(flag);
        EXPECT_EQ(source.y, flag ? 10 : 20) << int(flag);
    }
}

TEST(UiNode, SocketsParametersAndTheFlagBoxReachTheGraph) {
    UI_Master master;
    GraphStub graph;
    UI_Node box(graph, "Glow 1", "Glow", 100, 100, {"Image", "Mask"});
    master.addTopLevel(&box);
    EXPECT_EQ(box.height, 20 + 2 * 16 + 4);
    box.handleEvent(mouse(LeftDown, box.outputX(), box.outputY()));
    box.handleEvent(mouse(LeftUp, box.outputX(), box.outputY()));
    box.handleEvent(mouse(LeftDown, box.inputX(), box.inputY(1)));
    box.handleEvent(mouse(RightDown, 150, 140));
    EXPECT_EQ(graph.calls, (std::vector<std::string>{"socket Glow 1 -1", "socket Glow 1 1", "parameters Glow 1"}));
    EXPECT_EQ(master.capture, nullptr);  // no socket press starts a move

    box.handleEvent(mouse(LeftDown, 100 + 160 - 21, 110));  // the flag's square
    EXPECT_EQ(box.flag, 0);
}

TEST(UiNode, ADoubleClickOnTheTitleEditsTheAlias) {
    UI_Master master;
    GraphStub graph;
    UI_Node box(graph, "Glow 1", "Glow", 100, 100, {});
    master.addTopLevel(&box);
    EXPECT_TRUE(box.handleEvent(mouse(LeftDoubleClick, 130, 110)));
    EXPECT_EQ(box.typed, "Glow 1");
    for (int i = 0; i < 6; ++i) box.handleEvent(UI_Event{KeyDown, platform::VK_BACK, 0, 0, 0, 0});
    for (char c : std::string("halo")) box.handleEvent(UI_Event{Char, c, 0, 0, 0, 0});
    box.handleEvent(UI_Event{KeyUp, platform::VK_RETURN, 0, 0, 0, 0});
    EXPECT_EQ(master.aliasOf("Glow 1"), "halo");
    EXPECT_EQ(master.capture, nullptr);
}

}  // namespace
}  // namespace vorn::test
