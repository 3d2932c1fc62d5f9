#include "nodes/image/Compose.h"

#include "tests/nodes/image/TestPictures.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

using nodes::ImageNode_Compose;

class ComposeGraph : public PlayerGraph {
protected:
    void SetUp() override {
        PlayerGraph::SetUp();
        compose_ = create<ImageNode_Compose>("Compose 1", "Compose");
        ASSERT_NE(compose_, nullptr);
        create<engine::Node>("Viewer 1", "Viewer");
        connect("Compose 1", "Viewer 1", 0);
    }

    ImageNode_Compose* compose_ = nullptr;
};

TEST_F(ComposeGraph, HalfTransparentRedOverOpaqueWhiteIsPremultipliedOver) {
    paint("White", {1, 1, 1, 1});
    paint("Red", {0.5f, 0, 0, 0.5f});  // premultiplied: red at alpha 0.5
    connect("White", "Compose 1", 0);
    connect("Red", "Compose 1", 1);
    showAt(1.0f);

    expectColour(texelOf(*compose_, 0.5f, 0.5f), {1.0f, 0.5f, 0.5f, 1.0f});
    EXPECT_TRUE(near(screenPixel(960, 540), {255, 128, 128, 255}, 1)) << ::testing::PrintToString(screenPixel(960, 540));
}

TEST_F(ComposeGraph, AnOpaqueBHidesAAndBAloneIsShownAsItIs) {
    paint("Green", {0, 1, 0, 1});
    paint("Blue", {0, 0, 0.6f, 0.6f});
    connect("Green", "Compose 1", 0);
    connect("Blue", "Compose 1", 1);
    static_cast<Paint*>(engine().findNode("Blue"))->colourAt = [](float) { return Colour{0, 0, 1, 1}; };
    showAt(1.0f);
    EXPECT_EQ(screenPixel(100, 100), kBlue);

    ASSERT_TRUE(engine().deleteNode("Green"));
    static_cast<Paint*>(engine().findNode("Blue"))->colourAt = [](float) { return Colour{0, 0, 0.6f, 0.6f}; };
    showAt(1.0f);
    expectColour(texelOf(*compose_, 0.25f, 0.75f), {0, 0, 0.6f, 0.6f});
}

TEST_F(ComposeGraph, WithNothingConnectedTheTargetIsClearedToTransparentBlackEveryFrame) {
    paint("Red", {1, 0, 0, 1});
    connect("Red", "Compose 1", 1);
    showAt(1.0f);
    expectColour(texelOf(*compose_, 0.5f, 0.5f), {1, 0, 0, 1});

    ASSERT_TRUE(engine().deleteNode("Red"));
    showAt(1.1f);
    expectColour(texelOf(*compose_, 0.5f, 0.5f), {0, 0, 0, 0});
    EXPECT_EQ(screenPixel(960, 540), kBlack);
}

TEST_F(ComposeGraph, TheInputsTextureMatricesAreNotApplied) {
    writeQuadrantPicture("pic.png", 64, 36);
    auto* reader = create<nodes::ImageNode_Reader>("Picture", "2D_ImgReader");
    auto* move = create<nodes::ImageNode_Transform2D>("Move", "2D_Transform");
    reader->filename = "pic.png";
    reader->scaleMode = nodes::ImageNode_Reader::Stretch;
    move->scale[0] = move->scale[1] = 2.0f;
    move->position[0] = 0.75f;
    connect("Picture", "Move", 0);
    connect("Move", "Compose 1", 0);
    showAt(1.0f);

    // Through its matrix the picture would be half size and moved; in the
    // composite it fills the screen as the file stands.
    EXPECT_EQ(screenPixel(480, 270), kRed);
    EXPECT_EQ(screenPixel(1440, 270), kGreen);
    EXPECT_EQ(screenPixel(480, 810), kBlue);
    EXPECT_EQ(screenPixel(1440, 810), kWhite);
    EXPECT_EQ(compose_->textureMatrix, render::identityMatrix());
}

TEST_F(ComposeGraph, DrawsNothingWhileDrawingIsDisabled) {
    auto* red = paint("Red", {1, 0, 0, 1});
    connect("Red", "Compose 1", 1);
    showAt(1.0f);
    red->colourAt = [](float) { return Colour{0, 1, 0, 1}; };
    red->paint();
    engine().processAll();
    expectColour(texelOf(*compose_, 0.5f, 0.5f), {1, 0, 0, 1});
}

}  // namespace
}  // namespace vorn::test
