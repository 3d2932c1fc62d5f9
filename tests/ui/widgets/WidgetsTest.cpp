// The widgets' event handling, driven with events as the master dispatches
// them. No drawing: a value control's text hit area is its left end.
#include "engine/Engine.h"
#include "platform/WindowMessages.h"
#include "tests/engine/TestNodes.h"
#include "ui/UI_Master.h"
#include "ui/widgets/UI_Checkbox.h"
#include "ui/widgets/UI_Direction.h"
#include "ui/widgets/UI_Node.h"
#include "ui/widgets/UI_Selection.h"
#include "ui/widgets/UI_Slider.h"
#include "ui/widgets/UI_ValueControl.h"

#include <gtest/gtest.h>

#include <functional>

namespace vorn::test {
namespace {

using namespace ui;
using namespace platform;

UI_Event at(uint32_t kind, int x, int y, bool shift = false) { return UI_Event{kind, 0, x, y, 0, uint8_t(shift)}; }
UI_Event key(uint32_t kind, int value) { return UI_Event{kind, value, 0, 0, 0, 0}; }

// A record of a float in 0..1, default 0.3, two decimals, bound to the control.
void bindUnitRange(UI_ValueControl& control, float* value, bool clamp) {
    engine::ValueFloat record(nullptr, "Amount", "Glow 1");
    record.target = value;
    record.maximum = 1.0f;
    record.clamp = clamp;
    record.defaultValue = 0.3f;
    control.bind(record, nullptr, "Glow 1");
}

TEST(UiValueControl, DraggingMovesByTheRangePerHundredPixelsWrappingOrClamping) {
    struct Case {
        const char* what;
        bool clamp, control;
        int dx;
        float expected;
    };
    const Case cases[] = {
        {"wraps past the maximum", false, false, 75, 0.25f},
        {"stops at the maximum", true, false, 75, 1.0f},
        {"wrapped below the minimum it stays below", false, false, -75, -0.25f},
        {"Control drags twenty times slower", true, true, 100, 0.55f},
    };
    for (const Case& c : cases) {
        UI_Master master;
        float value = 0.5f;
        UI_ValueControl control("Amount", 5, 25, 380, true);
        master.addTopLevel(&control);
        bindUnitRange(control, &value, c.clamp);
        if (c.control) control.handleEvent(key(KeyDown, VK_CONTROL));
        int press = control.x + control.width / 2 - 2;
        EXPECT_TRUE(control.handleEvent(at(LeftDown, press, 30))) << c.what;
        control.handleEvent(at(MouseMove, press + c.dx, 30));
        EXPECT_NEAR(value, c.expected, 1e-6) << c.what;
        control.handleEvent(at(LeftUp, press + c.dx, 30));
        EXPECT_EQ(master.capture, nullptr) << c.what;
    }
}

TEST(UiValueControl, TypingTakesDigitsReturnStoresAndEscapeKeepsTheValue) {
    struct Case {
        const char* what;
        bool percent;
        const char* characters;
        int finish;
        const char* startText;
        float expected;
    };
    const Case cases[] = {
        {"a typed percentage is stored as a fraction", true, "50", VK_RETURN, "25.00%", 0.5f},
        {"letters are ignored", false, "0x.7a5", VK_RETURN, "0.25", 0.75f},
        {"Escape leaves the value as it was", false, "9", VK_ESCAPE, "0.25", 0.25f},
    };
    for (const Case& c : cases) {
        UI_Master master;
        float value = 0.25f;
        UI_ValueControl control("Amount", 5, 25, 380, false);
        master.addTopLevel(&control);
        bindUnitRange(control, &value, true);
        control.percentDisplay = c.percent;
        control.handleEvent(at(LeftDoubleClick, 200, 30));
        EXPECT_EQ(control.typed, c.startText) << c.what;
        while (!control.typed.empty()) control.handleEvent(key(KeyDown, VK_BACK));
        for (const char* p = c.characters; *p; ++p) control.handleEvent(key(Char, *p));
        EXPECT_TRUE(control.handleEvent(key(KeyUp, c.finish))) << c.what;
        EXPECT_FALSE(control.editing) << c.what;
        EXPECT_EQ(master.capture, nullptr) << c.what;
        EXPECT_FLOAT_EQ(value, c.expected) << c.what;
    }
}

TEST(UiValueControl, SKeysTheParameterAndRLinksItToATrackNamedAfterTheAlias) {
    engine::Engine engine;
    registerTestNodeTypes(engine.factory);
    ASSERT_TRUE(engine.createNode("Glow 1", "TestImage"));
    auto* node = static_cast<TestImageNode*>(engine.findNode("Glow 1"));
    UI_Master master;
    master.nameAlias["Glow 1"] = "glow";
    UI_ValueControl control("Amount", 5, 25, 380, true);
    master.addTopLevel(&control);
    control.bind(static_cast<const engine::ValueFloat&>(*engine.parametersOf(*node)[0]), &engine, "Glow 1");

    engine.time = 0.0f;
    node->amount = 5.0f;
    EXPECT_TRUE(control.handleEvent(key(KeyDown, 'S')));
    EXPECT_TRUE(control.keyed());
    // Keyed, a right click restores the default and keys it at the current time.
    engine.time = 2.0f;
    control.handleEvent(at(RightUp, 200, 30));
    ASSERT_EQ(engine.tracksByNode["Glow 1"].size(), 1u);
    const std::vector<engine::Keyframe>& keys = engine.tracksByNode["Glow 1"][0].keys;
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(std::pair(keys[0].time, keys[0].value), std::pair(0.0f, 5.0f));
    EXPECT_EQ(std::pair(keys[1].time, keys[1].value), std::pair(2.0f, 1.0f));

    // R drops the keys and links the parameter; R again unlinks it.
    EXPECT_TRUE(control.handleEvent(key(KeyDown, 'R')));
    EXPECT_FALSE(engine.hasKeyframes("Glow 1", "Amount"));
    ASSERT_EQ(engine.syncLinks.size(), 1u);
    EXPECT_EQ(engine.syncLinks[0].trackName, "glow#Amount");
    EXPECT_TRUE(control.syncLinked());
    control.handleEvent(key(KeyDown, 'R'));
    EXPECT_TRUE(engine.syncLinks.empty());
    EXPECT_FALSE(control.syncLinked());
}

TEST(UiWidgets, ARightClickRestoresTheDefault) {
    UI_Master master;
    float amount = 0.9f, knob = 0.9f, direction[2] = {1.0f, 0.0f};
    bool enabled = false;
    int32_t mode = 2;
    UI_ValueControl control("Amount", 5, 0, 380, false);
    bindUnitRange(control, &amount, true);
    UI_Slider slider("Size", 0, 0);
    slider.bind(&knob, 0.0f, 1.0f, 2, 0.2f, {});
    UI_Checkbox checkbox("Enabled", 5, 0, 380, &enabled, true);
    UI_Selection selection("Mode", 0, 0, 380);
    selection.target = &mode;
    selection.choices = {"a", "b", "c"};
    UI_Direction pointer("Light", 5, 0, 380);
    pointer.target = direction;
    pointer.defaultValue = {0.0f, -1.0f};
    const std::pair<UI_Object*, std::function<bool()>> cases[] = {
        {&control, [&] { return amount == 0.3f; }},
        {&slider, [&] { return knob == 0.2f; }},
        {&checkbox, [&] { return enabled; }},
        {&selection, [&] { return mode == 0; }},
        {&pointer, [&] { return direction[0] == 0.0f && direction[1] == -1.0f; }},
    };
    for (const auto& [widget, restored] : cases) {
        master.addTopLevel(widget);
        widget->handleEvent(at(RightUp, 200, 10));
        EXPECT_TRUE(restored()) << typeid(*widget).name();
    }
}

TEST(UiDirection, PointsAtTheMouseWithinTheUnitCircleAndSnapsWithControl) {
    UI_Master master;
    float direction[2] = {0.0f, 0.0f};
    UI_Direction pointer("Light", 5, 0, 380);
    master.addTopLevel(&pointer);
    pointer.target = direction;
    ASSERT_EQ(pointer.radius(), 90);
    int cx = pointer.centreX(), cy = pointer.centreY();
    pointer.handleEvent(at(LeftDown, cx + 45, cy));
    EXPECT_EQ(std::pair(direction[0], direction[1]), std::pair(0.5f, 0.0f));
    pointer.handleEvent(at(MouseMove, cx, cy - 180));
    EXPECT_EQ(std::pair(direction[0], direction[1]), std::pair(0.0f, -1.0f));
    // About 30 degrees at a third of the radius: 45 degrees at half length.
    pointer.handleEvent(key(KeyDown, VK_CONTROL));
    pointer.handleEvent(at(MouseMove, cx + 23, cy + 13));
    EXPECT_NEAR(direction[0], 0.353553f, 1e-5);
    EXPECT_NEAR(direction[1], 0.353553f, 1e-5);
    pointer.handleEvent(at(LeftUp, 0, 0));
    EXPECT_EQ(master.capture, nullptr);
}

// A graph in which every box is fed by `upstream`.
class GraphStub : public UI_NodeHost {
public:
    void openParameters(UI_Node&) override {}
    void socketPressed(UI_Node&, int32_t) override {}
    void boxPressed(UI_Node&) override {}
    std::vector<UI_Node*> upstreamBoxes(UI_Node&) override { return upstream; }
    std::vector<UI_Node*> upstream;
};

TEST(UiNode, FeedingBoxesFollowStepByStepWithShiftOrAllAtOnceOnRelease) {
    for (uint8_t flag : {1, 0}) {
        UI_Master master;
        GraphStub graph;
        UI_Node source(graph, "Picture", "2D_ImgReader", 0, 0, {});
        UI_Node box(graph, "Glow 1", "Glow", 100, 100, {"Image", "Mask"});
        master.addTopLevel(&box);
        box.flag = flag;
        graph.upstream = {&source};
        EXPECT_TRUE(box.handleEvent(at(LeftDown, 150, 105)));
        box.handleEvent(at(MouseMove, 160, 115));
        box.handleEvent(at(MouseMove, 170, 125, true));
        EXPECT_EQ(std::pair(box.x, box.y), std::pair(120, 120));
        // Flag set: only the shifted step; clear: nothing until the release.
        EXPECT_EQ(source.x, flag ? 10 : 0) << int(flag);
        box.handleEvent(at(LeftUp, 170, 125));
        EXPECT_EQ(master.capture, nullptr);
        EXPECT_EQ(std::pair(source.x, source.y), flag ? std::pair(10, 10) : std::pair(20, 20)) << int(flag);
    }
}

}  // namespace
}  // namespace vorn::test
