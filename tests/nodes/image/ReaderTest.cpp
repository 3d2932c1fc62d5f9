#include "nodes/image/Reader.h"

#include "platform/Debug.h"
#include "tests/ui/ShowSupport.h"
#include "ui/Player.h"

#include <gtest/gtest.h>

#include <memory>

namespace vorn::test {
namespace {

using nodes::ImageNode_Reader;
using nodes::readerTextureMatrix;

struct Sample {
    float u, v;
};

// Where the matrix sends the screen coordinate (u, v).
Sample sampleAt(const render::Mat4& m, float u, float v) {
    return {m[0] * u + m[4] * v + m[12], m[1] * u + m[5] * v + m[13]};
}

void expectScale(const render::Mat4& m, float sx, float sy, float sz) {
    EXPECT_FLOAT_EQ(m[0], sx);
    EXPECT_FLOAT_EQ(m[5], sy);
    EXPECT_FLOAT_EQ(m[10], sz);
    EXPECT_FLOAT_EQ(m[15], 1.0f);
}

const float kCentre[2] = {0.5f, 0.5f};

// --- The texture matrix, worked out by hand per mode

TEST(ReaderMatrix, FitShowsAFullHdPictureExactlyAndScaleFacEnlargesIt) {
    render::Mat4 m = readerTextureMatrix(1920, 1080, ImageNode_Reader::Fit, kCentre, 1.0f, false);
    expectScale(m, 1.0f, 1.0f, 0.0f);
    EXPECT_FLOAT_EQ(m[12], 0.0f);
    EXPECT_FLOAT_EQ(m[13], 0.0f);

    render::Mat4 twice = readerTextureMatrix(1920, 1080, ImageNode_Reader::Fit, kCentre, 2.0f, false);
    expectScale(twice, 0.5f, 0.5f, 0.0f);
}

TEST(ReaderMatrix, FitKeepsTheFullWidthOfWidePicturesAndTheFullHeightOfTallOnes) {
    // 2:1 picture: height scaled by 2 / (16/9) = 1.125, so it covers 8/9 of the screen height.
    render::Mat4 wide = readerTextureMatrix(64, 32, ImageNode_Reader::Fit, kCentre, 1.0f, false);
    expectScale(wide, 1.0f, 1.125f, 0.0f);
    // 1:2 picture: width scaled by (16/9) / 0.5 = 3.5555556.
    render::Mat4 tall = readerTextureMatrix(32, 64, ImageNode_Reader::Fit, kCentre, 1.0f, false);
    expectScale(tall, 3.5555556f, 1.0f, 0.0f);
    render::Mat4 tallHalf = readerTextureMatrix(32, 64, ImageNode_Reader::Fit, kCentre, 2.0f, false);
    expectScale(tallHalf, 1.7777778f, 0.5f, 0.0f);
}

TEST(ReaderMatrix, FitUsesTheFactorItselfForAnExactlySquarePicture) {
    // No 16:9 correction: the square picture fills the frame at factor 1 and
    // the factor multiplies (not divides) the sampled coordinate.
    render::Mat4 square = readerTextureMatrix(64, 64, ImageNode_Reader::Fit, kCentre, 1.0f, false);
    expectScale(square, 1.0f, 1.0f, 0.0f);
    render::Mat4 doubled = readerTextureMatrix(64, 64, ImageNode_Reader::Fit, kCentre, 2.0f, false);
    expectScale(doubled, 2.0f, 2.0f, 0.0f);
}

TEST(ReaderMatrix, ReferenceModeShowsPixelSizeAndCentreMovesItToTheMiddle) {
    // 960 x 540 on the 1920 x 1080 frame: a quarter of the frame, scale 2.
    render::Mat4 m = readerTextureMatrix(960, 540, ImageNode_Reader::Reference1080p, kCentre, 1.0f, false);
    expectScale(m, 2.0f, 2.0f, 0.0f);
    Sample corner = sampleAt(m, 0.5f, 0.5f);
    EXPECT_FLOAT_EQ(corner.u, 1.0f);
    EXPECT_FLOAT_EQ(corner.v, 1.0f);

    // Centred: cx = cy = 0.25, so the picture spans the screen's 0.25 .. 0.75.
    render::Mat4 centred = readerTextureMatrix(960, 540, ImageNode_Reader::Reference1080p, kCentre, 1.0f, true);
    Sample start = sampleAt(centred, 0.25f, 0.25f);
    Sample end = sampleAt(centred, 0.75f, 0.75f);
    EXPECT_FLOAT_EQ(start.u, 0.0f);
    EXPECT_FLOAT_EQ(start.v, 0.0f);
    EXPECT_FLOAT_EQ(end.u, 1.0f);
    EXPECT_FLOAT_EQ(end.v, 1.0f);
    EXPECT_FLOAT_EQ(centred[12], -0.5f);  // sx * tx = 2 * (0.5 - 0.75)
}

TEST(ReaderMatrix, StretchMapsTheScreenOntoThePictureAndPositionMovesIt) {
    render::Mat4 m = readerTextureMatrix(100, 300, ImageNode_Reader::Stretch, kCentre, 5.0f, false);
    expectScale(m, 1.0f, 1.0f, 0.0f);
    const float moved[2] = {0.25f, 0.75f};
    render::Mat4 shifted = readerTextureMatrix(100, 300, ImageNode_Reader::Stretch, moved, 1.0f, false);
    // Sampled at (u + 0.5 - 0.25, v + 0.5 - 0.75).
    Sample s = sampleAt(shifted, 0.1f, 0.6f);
    EXPECT_FLOAT_EQ(s.u, 0.35f);
    EXPECT_FLOAT_EQ(s.v, 0.35f);
}

TEST(ReaderMatrix, WithoutPictureOrWithAnUnknownModeTheScaleIsOne) {
    const float moved[2] = {0.3f, 0.5f};
    render::Mat4 none = readerTextureMatrix(0, 0, ImageNode_Reader::Fit, moved, 3.0f, false);
    expectScale(none, 1.0f, 1.0f, 1.0f);
    EXPECT_FLOAT_EQ(none[12], 0.2f);
    render::Mat4 unknown = readerTextureMatrix(64, 64, 7, kCentre, 3.0f, false);
    expectScale(unknown, 1.0f, 1.0f, 1.0f);
}

// --- The node: loading, reloading, errors

class ReaderNode : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        engine_.initialise();
        engine_.addNode("Picture", std::make_unique<ImageNode_Reader>(engine_, "Picture"));
        reader_ = static_cast<ImageNode_Reader*>(engine_.findNode("Picture"));
    }

    WorkingDirectory folder_;
    engine::Engine engine_;
    ImageNode_Reader* reader_ = nullptr;
};

TEST_F(ReaderNode, RegistersItsParametersInOrderWithTheirDefaults) {
    const engine::ParameterList& parameters = engine_.parametersOf(*reader_);
    std::vector<std::string> names;
    for (const auto& parameter : parameters) names.push_back(parameter->name);
    EXPECT_EQ(names, (std::vector<std::string>{"Filename", "Scale", "Position", "ScaleFac", "Center", "Repeat",
                                                "PreMultiply"}));
    auto* scale = static_cast<const engine::ValueInt*>(parameters[1].get());
    EXPECT_EQ(scale->choices, (std::vector<std::string>{"FIT", "1080p REFERENCE", "STRETCH"}));
    auto* factor = static_cast<const engine::ValueFloat*>(parameters[3].get());
    EXPECT_FLOAT_EQ(factor->minimum, 0.0001f);
    EXPECT_FLOAT_EQ(factor->maximum, 10.0f);
    EXPECT_EQ(factor->decimals, 4);
    EXPECT_FLOAT_EQ(reader_->position[0], 0.5f);
    EXPECT_FLOAT_EQ(reader_->scaleFac, 1.0f);
    EXPECT_EQ(reader_->inputCount, 0);
    EXPECT_FALSE(reader_->acceptsInput(0, *reader_));
}

TEST_F(ReaderNode, LoadsThePictureIntoSlotZeroWithTheFileSize) {
    writeQuadrantPicture("pic.png", 64, 32);
    reader_->filename = "pic.png";
    EXPECT_TRUE(reader_->process());
    ASSERT_NE(reader_->images[0], nullptr);
    EXPECT_EQ(reader_->images[0]->width, 64);
    EXPECT_EQ(reader_->images[0]->height, 32);
    EXPECT_FALSE(reader_->hasError);
    expectScale(reader_->textureMatrix, 1.0f, 1.125f, 0.0f);
}

TEST_F(ReaderNode, RepeatAndPreMultiplyReloadButPlacementSettingsDoNot) {
    writeQuadrantPicture("pic.png", 64, 36);
    reader_->filename = "pic.png";
    platform::DebugCapture log;
    reader_->process();
    render::GL_Image* first = reader_->images[0];
    ASSERT_NE(first, nullptr);
    GLint wrap = 0;
    glBindTexture(GL_TEXTURE_2D, first->textures[0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP_TO_BORDER);

    // Placement only: the same texture, no upload logged.
    log.clear();
    reader_->center = true;
    reader_->scaleMode = ImageNode_Reader::Reference1080p;
    reader_->position[0] = 0.1f;
    reader_->scaleFac = 3.0f;
    reader_->process();
    EXPECT_EQ(reader_->images[0], first);
    EXPECT_FALSE(log.contains("Texture Memory Consumed"));

    reader_->repeat = true;
    reader_->process();
    EXPECT_TRUE(log.contains("Texture Memory Consumed"));
    ASSERT_NE(reader_->images[0], nullptr);
    glBindTexture(GL_TEXTURE_2D, reader_->images[0]->textures[0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap);
    EXPECT_EQ(wrap, GL_REPEAT);
    glBindTexture(GL_TEXTURE_2D, 0);

    log.clear();
    reader_->preMultiply = true;
    reader_->process();
    EXPECT_TRUE(log.contains("Texture Memory Consumed"));
}

TEST_F(ReaderNode, ClearingTheFilenameDropsThePictureAndFlagsTheError) {
    writeQuadrantPicture("pic.png", 16, 16);
    reader_->filename = "pic.png";
    reader_->process();
    ASSERT_NE(reader_->images[0], nullptr);
    reader_->filename.clear();
    reader_->process();
    EXPECT_EQ(reader_->images[0], nullptr);
    EXPECT_TRUE(reader_->hasError);
    expectScale(reader_->textureMatrix, 1.0f, 1.0f, 1.0f);
}

TEST_F(ReaderNode, AnUnreadableFileIsReportedOnceAndNotRetriedUntilASettingChanges) {
    folder_.folder().write("broken.png", std::string("not a picture"));
    reader_->filename = "broken.png";
    platform::DebugCapture log;
    reader_->process();
    EXPECT_TRUE(reader_->hasError);
    EXPECT_EQ(reader_->images[0], nullptr);
    EXPECT_TRUE(log.contains("broken.png"));

    log.clear();
    reader_->process();
    reader_->process();
    EXPECT_EQ(log.text(), "");

    // Fixed on disk: picked up once a load setting changes.
    writeQuadrantPicture("broken.png", 8, 8);
    reader_->process();
    EXPECT_TRUE(reader_->hasError);
    reader_->repeat = true;
    reader_->process();
    EXPECT_FALSE(reader_->hasError);
}

TEST_F(ReaderNode, ProjectPathsWithBackslashesAndOtherCaseFindTheFile) {
    platform::makeDirectory("Pictures");
    writeQuadrantPicture("Pictures/logo.png", 8, 8);
    reader_->filename = ".\\pictures\\LOGO.png";
    reader_->process();
    EXPECT_NE(reader_->images[0], nullptr);
}

// --- On screen, through the player's whole present path

class ReaderOnScreen : public PlayerOnScreen {
protected:
    void SetUp() override {
        PlayerOnScreen::SetUp();
        engine::Engine& engine = player_->engine();
        ASSERT_TRUE(engine.createNode("Picture", "2D_ImgReader"));
        ASSERT_TRUE(engine.createNode("Viewer 1", "Viewer"));
        ASSERT_TRUE(engine.connect("Picture", "Viewer 1", 0));
        reader_ = static_cast<ImageNode_Reader*>(engine.findNode("Picture"));
    }

    ImageNode_Reader* reader_ = nullptr;
};

TEST_F(ReaderOnScreen, StretchShowsThePictureUprightOverTheWholeScreen) {
    writeQuadrantPicture("pic.png", 64, 36);
    reader_->filename = "pic.png";
    reader_->scaleMode = ImageNode_Reader::Stretch;
    show();
    EXPECT_EQ(screenPixel(480, 270), kRed);
    EXPECT_EQ(screenPixel(1440, 270), kGreen);
    EXPECT_EQ(screenPixel(480, 810), kBlue);
    EXPECT_EQ(screenPixel(1440, 810), kWhite);
}

TEST_F(ReaderOnScreen, ReferenceModeCoversTheTopLeftQuarterAndCentreMovesItToTheMiddle) {
    writeQuadrantPicture("half.png", 960, 540);
    reader_->filename = "half.png";
    reader_->scaleMode = ImageNode_Reader::Reference1080p;
    show();
    EXPECT_EQ(screenPixel(240, 135), kRed);
    EXPECT_EQ(screenPixel(720, 405), kWhite);
    EXPECT_EQ(screenPixel(1440, 270), kBlack);
    EXPECT_EQ(screenPixel(480, 810), kBlack);

    reader_->center = true;
    show();
    EXPECT_EQ(screenPixel(200, 100), kBlack);
    EXPECT_EQ(screenPixel(600, 350), kRed);
    EXPECT_EQ(screenPixel(1300, 350), kGreen);
    EXPECT_EQ(screenPixel(1300, 750), kWhite);
    EXPECT_EQ(screenPixel(1700, 1000), kBlack);
}

TEST_F(ReaderOnScreen, RepeatTilesThePictureBeyondItsEdge) {
    writeQuadrantPicture("half.png", 960, 540);
    reader_->filename = "half.png";
    reader_->scaleMode = ImageNode_Reader::Reference1080p;
    reader_->repeat = true;
    show();
    // u = 0.625 samples 1.25, which wraps to 0.25: the red quarter again.
    EXPECT_EQ(screenPixel(1200, 135), kRed);
    EXPECT_EQ(screenPixel(1440 + 240, 810 + 135), kWhite);
}

TEST_F(ReaderOnScreen, FitLeavesABandBelowAWidePictureAndBesideATallOne) {
    writeQuadrantPicture("wide.png", 64, 32);
    reader_->filename = "wide.png";
    show();
    // 1080 / 1.125 = 960 rows of picture, then black.
    EXPECT_EQ(screenPixel(480, 700), kBlue);
    EXPECT_EQ(screenPixel(480, 1040), kBlack);

    writeQuadrantPicture("tall.png", 32, 64);
    reader_->filename = "tall.png";
    show();
    // 1920 / 3.5555556 = 540 columns of picture.
    EXPECT_EQ(screenPixel(400, 900), kWhite);
    EXPECT_EQ(screenPixel(700, 900), kBlack);
}

TEST_F(ReaderOnScreen, PreMultiplyWeightsTheColourByAlphaBeforeBlending) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 16 * 9; ++i) pixels.insert(pixels.end(), {255, 0, 0, 128});
    writePicture("half-red.png", 16, 9, 4, pixels);
    reader_->filename = "half-red.png";
    reader_->scaleMode = ImageNode_Reader::Stretch;
    show();
    // Blended over transparent black: 255 x 128/255 = 128.
    EXPECT_TRUE(near(screenPixel(960, 540), Rgba{128, 0, 0, 255}, 1)) << ::testing::PrintToString(screenPixel(960, 540));

    reader_->preMultiply = true;
    show();
    // The stored colour is already 128; blending weights it again: 64.
    EXPECT_TRUE(near(screenPixel(960, 540), Rgba{64, 0, 0, 255}, 1)) << ::testing::PrintToString(screenPixel(960, 540));
}

}  // namespace
}  // namespace vorn::test
