#include "ui/UI_ImagePanel.h"

#include "tests/ui/ShowSupport.h"
#include "ui/UI_Master.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

// A one-texture picture in a single colour.
class SolidImage : public render::GL_Image {
public:
    explicit SolidImage(Rgba colour) {
        width = height = 1;
        textures.assign(1, 0);
        glGenTextures(1, textures.data());
        glBindTexture(GL_TEXTURE_2D, textures[0]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, &colour);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    ~SolidImage() override { glDeleteTextures(1, textures.data()); }
};

TEST(UiImagePanel, APassivePanelSwallowsEveryEventWithoutEffect) {
    ui::UI_ImagePanel passive("", 0, 0, 1920, 1080, true);
    ui::UI_ImagePanel active("", 0, 0, 1920, 1080, false);
    for (uint32_t kind = ui::MouseMove; kind <= ui::Char; ++kind) {
        ui::UI_Event event{kind, 1, 10, 10, 0, 0};
        EXPECT_TRUE(passive.handleEvent(event)) << kind;
        EXPECT_FALSE(active.handleEvent(event)) << kind;
    }
    EXPECT_EQ(passive.viewMatrix, render::identityMatrix());
}

class UiImagePanelDrawing : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        master_.init(1920, 1080);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        master_.beginFrame();
    }
    void TearDown() override {
        glDisable(GL_BLEND);
        GlTest::TearDown();
    }
    ui::UI_Master master_;
};

TEST_F(UiImagePanelDrawing, APassivePanelDrawsOnlyItsPictureThroughTheView) {
    SolidImage green(kGreen);
    int32_t background = 2;  // red, were it drawn
    ui::UI_ImagePanel panel("", 100, 100, 400, 200, true);
    master_.addTopLevel(&panel);
    panel.image = &green;
    panel.backgroundSelector = &background;
    panel.viewMatrix = render::translationMatrix(50.0f, 20.0f, 0.0f);
    panel.draw();
    EXPECT_EQ(screenPixel(130, 110), kBlack);  // moved away by the view
    EXPECT_EQ(screenPixel(160, 130), kGreen);
    EXPECT_EQ(screenPixel(540, 310), kGreen);
    EXPECT_EQ(screenPixel(560, 330), kBlack);
}

TEST_F(UiImagePanelDrawing, AnActivePanelFillsItsBackgroundAndOutlinesItself) {
    int32_t background = 4;  // blue
    ui::UI_ImagePanel panel("", 100, 100, 400, 200, false);
    master_.addTopLevel(&panel);
    panel.backgroundSelector = &background;
    panel.draw();
    EXPECT_EQ(screenPixel(300, 200), kBlue);
    bool outlined = false;
    for (int dy = -1; dy <= 1; ++dy) outlined |= screenPixel(300, 100 + dy) == kWhite;
    EXPECT_TRUE(outlined);
}

}  // namespace
}  // namespace vorn::test
