#include "nodes/image/Reader.h"

#include "platform/Debug.h"
#include "tests/nodes/image/TestPictures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace vorn::test {
namespace {

using nodes::ImageNode_Reader;

// Where the texture matrix sends the screen coordinate (u, v).
std::array<float, 2> sampleAt(const render::Mat4& m, float u, float v) {
    return {m[0] * u + m[4] * v + m[12], m[1] * u + m[5] * v + m[13]};
}

TEST(ReaderMatrix, EachModeScalesAndPlacesThePictureAsWorkedOutByHand) {
    struct Case {
        int width, height, mode;
        float position[2], factor;
        bool center;
        float sx, sy, sz;     // the diagonal
        float u, v, su, sv;   // (u, v) on screen samples (su, sv); not checked where su is NaN
    };
    const float n = NAN;
    const int fit = ImageNode_Reader::Fit, reference = ImageNode_Reader::Reference1080p;
    const int stretch = ImageNode_Reader::Stretch;
    const Case cases[] = {
        {1920, 1080, fit, {0.5f, 0.5f}, 1, false, 1, 1, 0, 0.3f, 0.6f, 0.3f, 0.6f},
        {1920, 1080, fit, {0.5f, 0.5f}, 2, false, 0.5f, 0.5f, 0, 0, 0, n, n},
        // 2:1: height scaled by 2 / (16/9); 1:2: width by (16/9) / 0.5.
        {64, 32, fit, {0.5f, 0.5f}, 1, false, 1, 1.125f, 0, 0, 0, n, n},
        {32, 64, fit, {0.5f, 0.5f}, 1, false, 3.5555556f, 1, 0, 0, 0, n, n},
        {32, 64, fit, {0.5f, 0.5f}, 2, false, 1.7777778f, 0.5f, 0, 0, 0, n, n},
        // Exactly square: no 16:9 correction, and the factor multiplies.
        {64, 64, fit, {0.5f, 0.5f}, 1, false, 1, 1, 0, 0, 0, n, n},
        {64, 64, fit, {0.5f, 0.5f}, 2, false, 2, 2, 0, 0, 0, n, n},
        // 960 x 540 at pixel size: a quarter of the frame; centred it spans 0.25 .. 0.75.
        {960, 540, reference, {0.5f, 0.5f}, 1, false, 2, 2, 0, 0.5f, 0.5f, 1, 1},
        {960, 540, reference, {0.5f, 0.5f}, 1, true, 2, 2, 0, 0.25f, 0.75f, 0, 1},
        {100, 300, stretch, {0.5f, 0.5f}, 5, false, 1, 1, 0, 0, 0, n, n},
        {100, 300, stretch, {0.25f, 0.75f}, 1, false, 1, 1, 0, 0.1f, 0.6f, 0.35f, 0.35f},
        // No picture, or an unknown mode: scale one, position still applies.
        {0, 0, fit, {0.3f, 0.5f}, 3, false, 1, 1, 1, 0, 0, 0.2f, 0},
        {64, 64, 7, {0.5f, 0.5f}, 3, false, 1, 1, 1, 0, 0, 0, 0},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        render::Mat4 m = nodes::readerTextureMatrix(c.width, c.height, c.mode, c.position, c.factor, c.center);
        EXPECT_FLOAT_EQ(m[0], c.sx) << "case " << i;
        EXPECT_FLOAT_EQ(m[5], c.sy) << "case " << i;
        EXPECT_FLOAT_EQ(m[10], c.sz) << "case " << i;
        auto [su, sv] = sampleAt(m, c.u, c.v);
        if (std::isnan(c.su)) continue;
        EXPECT_NEAR(su, c.su, 1e-6f) << "case " << i;
        EXPECT_NEAR(sv, c.sv, 1e-6f) << "case " << i;
    }
}

class ReaderNode : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        engine_.initialise();
        engine_.addNode("Picture", std::make_unique<ImageNode_Reader>(engine_, "Picture"));
        reader_ = static_cast<ImageNode_Reader*>(engine_.findNode("Picture"));
    }
    GLint wrapOfSlotZero() {
        GLint wrap = 0;
        glBindTexture(GL_TEXTURE_2D, reader_->images[0]->textures[0]);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap);
        glBindTexture(GL_TEXTURE_2D, 0);
        return wrap;
    }

    WorkingDirectory folder_;
    engine::Engine engine_;
    ImageNode_Reader* reader_ = nullptr;
};

TEST_F(ReaderNode, OnlyRepeatAndPreMultiplyReloadThePicture) {
    writeQuadrantPicture("pic.png", 64, 32);
    reader_->filename = "pic.png";
    platform::DebugCapture log;
    EXPECT_TRUE(reader_->process());
    render::GL_Image* first = reader_->images[0];
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->width, 64);
    EXPECT_EQ(wrapOfSlotZero(), GL_CLAMP_TO_BORDER);

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
    EXPECT_EQ(wrapOfSlotZero(), GL_REPEAT);
    log.clear();
    reader_->preMultiply = true;
    reader_->process();
    EXPECT_TRUE(log.contains("Texture Memory Consumed"));

    reader_->filename.clear();  // no picture: the slot empties and the node is in error
    reader_->process();
    EXPECT_EQ(reader_->images[0], nullptr);
    EXPECT_TRUE(reader_->hasError);
}

TEST_F(ReaderNode, AnUnreadableFileIsReportedOnceAndNotRetriedUntilASettingChanges) {
    folder_.folder().write("broken.png", std::string("not a picture"));
    reader_->filename = "broken.png";
    platform::DebugCapture log;
    reader_->process();
    EXPECT_TRUE(reader_->hasError);
    EXPECT_TRUE(log.contains("broken.png"));
    log.clear();
    reader_->process();
    reader_->process();
    EXPECT_EQ(log.text(), "");

    writeQuadrantPicture("broken.png", 8, 8);  // mended on disk: picked up once a load setting changes
    reader_->process();
    EXPECT_TRUE(reader_->hasError);
    reader_->repeat = true;
    reader_->process();
    EXPECT_FALSE(reader_->hasError);

    platform::makeDirectory("Pictures");  // project paths: backslashes and another case
    writeQuadrantPicture("Pictures/logo.png", 8, 8);
    reader_->filename = ".\\pictures\\LOGO.png";
    reader_->process();
    EXPECT_NE(reader_->images[0], nullptr);
}

// On screen, through the player's whole present path.
class ReaderOnScreen : public PlayerGraph {
protected:
    void SetUp() override {
        PlayerGraph::SetUp();
        reader_ = create<ImageNode_Reader>("Picture", "2D_ImgReader");
        create<engine::Node>("Viewer 1", "Viewer");
        connect("Picture", "Viewer 1", 0);
    }
    void showFile(const std::string& file, int w, int h, int mode) {
        writeQuadrantPicture(file, w, h);
        reader_->filename = file;
        reader_->scaleMode = mode;
        show();
    }

    ImageNode_Reader* reader_ = nullptr;
};

TEST_F(ReaderOnScreen, StretchFitAndReferenceModesFrameThePictureUpright) {
    showFile("pic.png", 64, 36, ImageNode_Reader::Stretch);
    expectQuadrantsShown(0, 0, 1920, 1080);

    showFile("wide.png", 64, 32, ImageNode_Reader::Fit);  // 1080 / 1.125 = 960 rows, then black
    expectQuadrantsShown(0, 0, 1920, 960);
    EXPECT_EQ(screenPixel(480, 1040), kBlack);
    showFile("tall.png", 32, 64, ImageNode_Reader::Fit);  // 1920 / 3.5555556 = 540 columns
    EXPECT_EQ(screenPixel(400, 900), kWhite);
    EXPECT_EQ(screenPixel(700, 900), kBlack);

    showFile("half.png", 960, 540, ImageNode_Reader::Reference1080p);
    expectQuadrantsShown(0, 0, 960, 540);
    EXPECT_EQ(screenPixel(1440, 270), kBlack);
    EXPECT_EQ(screenPixel(480, 810), kBlack);
    reader_->center = true;
    show();
    expectQuadrantsShown(480, 270, 960, 540);
    EXPECT_EQ(screenPixel(200, 100), kBlack);
    EXPECT_EQ(screenPixel(1700, 1000), kBlack);
    reader_->center = false;
    reader_->repeat = true;
    show();
    expectQuadrantsShown(960, 540, 960, 540);  // tiled beyond its edge
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
