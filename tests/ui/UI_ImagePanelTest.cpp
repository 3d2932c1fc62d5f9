#include "ui/UI_ImagePanel.h"

#include "tests/engine/TestNodes.h"
#include "tests/ui/ShowSupport.h"
#include "ui/UI_Master.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

using ui::UI_Event;

// Where the view puts a point of the panel's own space.
std::pair<float, float> onScreen(const ui::UI_ImagePanel& panel, float x, float y) {
    return {panel.viewX(x, y), panel.viewY(x, y)};
}

TEST(UiImagePanel, TheWheelZoomsAboutTheMouseAMiddleDragPansAndARightClickResets) {
    ui::UI_Master master;
    ui::UI_ImagePanel panel("", 100, 100, 400, 200, false);
    master.addTopLevel(&panel);
    EXPECT_FALSE(panel.handleEvent({ui::MouseMove, 0, 300, 200, 0, 0}));
    EXPECT_TRUE(panel.handleEvent({ui::Wheel, 120, 300, 200, 0, 0}));
    // 10 % larger about (300, 200): (400, 300) is 100 right and down of it.
    EXPECT_EQ(onScreen(panel, 400, 300), (std::pair{410.0f, 310.0f}));
    EXPECT_EQ(onScreen(panel, 300, 200), (std::pair{300.0f, 200.0f}));
    panel.handleEvent({ui::RightDown, 0, 300, 200, 0, 0});
    EXPECT_EQ(panel.viewMatrix, render::identityMatrix());

    panel.handleEvent({ui::MiddleDown, 0, 150, 150, 0, 0});
    EXPECT_EQ(master.capture, &panel);
    panel.handleEvent({ui::MouseMove, 0, 180, 140, 0, 0});
    panel.handleEvent({ui::MouseMove, 0, 190, 145, 0, 0});
    panel.handleEvent({ui::MiddleUp, 0, 190, 145, 0, 0});
    EXPECT_EQ(master.capture, nullptr);
    panel.handleEvent({ui::MouseMove, 0, 400, 400, 0, 0});
    EXPECT_EQ(onScreen(panel, 0, 0), (std::pair{40.0f, -5.0f}));
    panel.handleEvent({ui::MiddleDown, 0, 600, 150, 0, 0});  // outside the panel
    EXPECT_EQ(master.capture, nullptr);

    ui::UI_ImagePanel passive("", 0, 0, 1920, 1080, true);
    for (uint32_t kind = ui::MouseMove; kind <= ui::Char; ++kind) EXPECT_TRUE(passive.handleEvent({kind, 120, 10, 10, 0, 0}));
    EXPECT_EQ(passive.viewMatrix, render::identityMatrix());
}

TEST(UiImagePanel, DraggingAHandleMovesAndKeysItsPointByTheMouseStepThroughTheView) {
    struct Case {
        const char* what;
        float zoom;
        int dx, dy;
        bool shift;
        float u, v;  // expected, from (0.25, 0.5) in a 400 x 200 panel
    };
    const Case cases[] = {
        {"plain step", 1.0f, 40, 10, false, 0.35f, 0.55f},
        {"shift keeps the larger component", 1.0f, 10, 20, true, 0.25f, 0.6f},
        {"a tie keeps y", 1.0f, 8, -8, true, 0.25f, 0.46f},
        {"zoomed in twice: half the step", 2.0f, 40, 0, false, 0.3f, 0.5f},
    };
    for (const Case& c : cases) {
        engine::Engine engine;
        registerTestNodeTypes(engine.factory);
        ASSERT_TRUE(engine.createNode("Glow 1", "TestImage"));
        float* point = static_cast<TestImageNode*>(engine.findNode("Glow 1"))->offset;  // starts at (0.25, 0.5)
        engine.addKeyframe("Glow 1", "Offset");
        engine.time = 1.0f;
        ui::UI_Master master;
        ui::UI_ImagePanel panel("", 100, 100, 400, 200, false);
        master.addTopLevel(&panel);
        panel.viewMatrix = render::scaleMatrix(c.zoom, c.zoom, 1.0f);
        panel.addHandle({point, "Glow 1.Offset", "Glow 1", "Offset", &engine, nullptr});
        int hx = int(200 * c.zoom), hy = int(200 * c.zoom);  // (100 + 400 u, 100 + 200 v) through the view

        EXPECT_FALSE(panel.handleEvent({ui::LeftDown, 0, hx + 8, hy, 0, 0})) << c.what;  // beside it
        EXPECT_TRUE(panel.handleEvent({ui::LeftDown, 0, hx + 3, hy - 2, 0, 0})) << c.what;
        EXPECT_FALSE(panel.handleEvent({ui::MouseMove, 0, hx + 3 + c.dx, hy - 2 + c.dy, 0, uint8_t(c.shift)}));
        EXPECT_NEAR(point[0], c.u, 1e-6) << c.what;
        EXPECT_NEAR(point[1], c.v, 1e-6) << c.what;
        const std::vector<engine::Keyframe>& keys = engine.tracksByNode["Glow 1"][0].keys;
        ASSERT_EQ(keys.size(), 2u) << c.what;
        EXPECT_EQ(keys[1].value, point[0]) << c.what;
        EXPECT_TRUE(panel.handleEvent({ui::LeftUp, 0, 0, 0, 0, 0})) << c.what;
        EXPECT_EQ(master.capture, nullptr) << c.what;
    }
}

using UiImagePanelDrawing = GlTest;

TEST_F(UiImagePanelDrawing, APassivePanelDrawsOnlyItsPictureAndAnActiveOneItsBackgroundOutlineAndHandles) {
    render::GL_FrameBuffer green(64, 32, 1, 8, GL_RGBA, false, false);
    glBindFramebuffer(GL_FRAMEBUFFER, green.framebuffer);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ui::UI_Master master;
    master.init(1920, 1080);
    master.beginFrame();
    int32_t red = 2, blue = 4;
    ui::UI_ImagePanel passive("", 100, 100, 400, 200, true), active("", 700, 100, 400, 200, false);
    master.addTopLevel(&passive);
    master.addTopLevel(&active);
    passive.image = &green;
    passive.backgroundSelector = &red;  // a passive panel draws no background
    passive.viewMatrix = render::translationMatrix(50.0f, 20.0f, 0.0f);
    active.backgroundSelector = &blue;
    float point[2] = {0.5f, 0.25f};
    active.addHandle({point, "", "", "", nullptr, nullptr});
    passive.draw();
    active.draw();
    master.flush();
    glDisable(GL_BLEND);
    EXPECT_EQ(screenPixel(130, 110), kBlack);  // moved away by the view
    EXPECT_EQ(screenPixel(160, 130), kGreen);
    EXPECT_EQ(screenPixel(540, 310), kGreen);
    EXPECT_EQ(screenPixel(560, 330), kBlack);
    EXPECT_EQ(screenPixel(900, 200), kBlue);
    // The handle's square at (700 + 400 u, 100 + 200 v) in the highlight colour.
    EXPECT_TRUE(near(screenPixel(902, 152), Rgba{255, 178, 0, 255}, 1));
    bool outlined = false;
    for (int dy = -1; dy <= 1; ++dy) outlined |= screenPixel(900, 100 + dy) == kWhite;
    EXPECT_TRUE(outlined);
}

}  // namespace
}  // namespace vorn::test
