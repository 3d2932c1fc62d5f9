#include "nodes/image/Transform2D.h"

#include "nodes/image/Reader.h"
#include "tests/nodes/image/TestPictures.h"
#include "ui/Player.h"

#include <gtest/gtest.h>

#include <memory>

namespace vorn::test {
namespace {

using nodes::ImageNode_Transform2D;
using nodes::transform2DMatrix;

struct Sample {
    float u, v;
};

Sample sampleAt(const render::Mat4& m, float u, float v) {
    return {m[0] * u + m[4] * v + m[12], m[1] * u + m[5] * v + m[13]};
}

TEST(Transform2DMatrix, MovesByTheCentredPositionScalesThenAppliesTheInputMatrix) {
    const float position[2] = {0.75f, 0.25f};
    const float scale[2] = {2.0f, 4.0f};
    // (2 (u + 0.5 - 0.75), 4 (v + 0.5 - 0.25))
    Sample own = sampleAt(transform2DMatrix(render::identityMatrix(), position, scale), 0.5f, 0.5f);
    EXPECT_FLOAT_EQ(own.u, 0.5f);
    EXPECT_FLOAT_EQ(own.v, 3.0f);

    render::Mat4 input = render::matrixProduct(render::translationMatrix(0.1f, -0.2f, 0.0f),
                                               render::scaleMatrix(3.0f, 3.0f, 1.0f));  // (3u + 0.1, 3v - 0.2)
    const float centre[2] = {0.5f, 0.5f};
    const float twice[2] = {2.0f, 2.0f};
    Sample chained = sampleAt(transform2DMatrix(input, centre, twice), 0.25f, 0.5f);
    EXPECT_FLOAT_EQ(chained.u, 3.0f * 0.5f + 0.1f);
    EXPECT_FLOAT_EQ(chained.v, 3.0f * 1.0f - 0.2f);
}

class Transform2DNode : public PlayerOnScreen {
protected:
    void SetUp() override {
        PlayerOnScreen::SetUp();
        engine::Engine& engine = player_->engine();
        ASSERT_TRUE(engine.createNode("Picture", "2D_ImgReader"));
        ASSERT_TRUE(engine.createNode("Move", "2D_Transform"));
        ASSERT_TRUE(engine.createNode("Viewer 1", "Viewer"));
        ASSERT_TRUE(engine.connect("Picture", "Move", 0));
        ASSERT_TRUE(engine.connect("Move", "Viewer 1", 0));
        reader_ = static_cast<nodes::ImageNode_Reader*>(engine.findNode("Picture"));
        move_ = static_cast<ImageNode_Transform2D*>(engine.findNode("Move"));
        writeQuadrantPicture("pic.png", 64, 36);
        reader_->filename = "pic.png";
        reader_->scaleMode = nodes::ImageNode_Reader::Stretch;
    }

    nodes::ImageNode_Reader* reader_ = nullptr;
    ImageNode_Transform2D* move_ = nullptr;
};

TEST_F(Transform2DNode, BorrowsTheInputsPicturesAndComposesItsMatrix) {
    move_->scale[0] = 2.0f;
    show();
    EXPECT_EQ(move_->images[0], reader_->images[0]);
    ASSERT_NE(move_->images[0], nullptr);
    Sample s = sampleAt(move_->textureMatrix, 0.25f, 0.5f);
    EXPECT_FLOAT_EQ(s.u, 0.5f);
    EXPECT_FLOAT_EQ(s.v, 0.5f);
}

TEST_F(Transform2DNode, DoubleScaleShowsThePictureAtHalfSizeInTheTopLeftCorner) {
    move_->scale[0] = 2.0f;
    move_->scale[1] = 2.0f;
    show();
    expectQuadrantsShown(0, 0, 960, 540);
    EXPECT_EQ(screenPixel(1440, 810), kBlack);
    EXPECT_EQ(screenPixel(1440, 270), kBlack);
}

TEST_F(Transform2DNode, PositionMovesThePictureRightAndDownOnScreen) {
    move_->position[0] = 0.75f;
    move_->position[1] = 0.75f;
    show();
    // Shifted by a quarter of the screen each way.
    EXPECT_EQ(screenPixel(240, 135), kBlack);
    EXPECT_EQ(screenPixel(720, 405), kRed);
    EXPECT_EQ(screenPixel(1700, 405), kGreen);
    EXPECT_EQ(screenPixel(720, 1000), kBlue);
}

TEST_F(Transform2DNode, WithoutAnInputTheMatrixStartsFromIdentityAndNothingIsBorrowed) {
    show();
    ASSERT_NE(move_->images[0], nullptr);
    ASSERT_TRUE(player_->engine().deleteNode("Picture"));
    move_->scale[0] = 3.0f;
    show();
    // The deleted reader's texture must not be sampled any more.
    EXPECT_EQ(move_->images[0], nullptr);
    EXPECT_FLOAT_EQ(move_->textureMatrix[0], 3.0f);
    EXPECT_FLOAT_EQ(move_->textureMatrix[12], 0.0f);
    EXPECT_EQ(screenPixel(960, 540), kBlack);
}

}  // namespace
}  // namespace vorn::test
