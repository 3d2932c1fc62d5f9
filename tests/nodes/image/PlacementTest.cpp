// Where a picture lands on screen: the reader's modes and loading rules, and Transform2D.
#include "nodes/image/Reader.h"
#include "nodes/image/Transform2D.h"

#include "platform/Debug.h"
#include "tests/nodes/image/ImageTestSupport.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

using nodes::ImageNode_Reader;

class Placement : public ImageGraph {
protected:
    void SetUp() override {
        ImageGraph::SetUp();
        reader_ = create<ImageNode_Reader>("Picture", "2D_ImgReader");
        create<engine::Node>("Viewer 1", "Viewer");
    }
    void showFile(const std::string& file, int w, int h, int mode) {
        writeQuadrantPicture(file, w, h);
        reader_->filename = file;
        reader_->scaleMode = mode;
        show();
    }
    ImageNode_Reader* reader_ = nullptr;
};

TEST_F(Placement, OnlyTheFileRepeatAndPreMultiplyReloadAndAFailedLoadWaitsForOneOfThem) {
    writeQuadrantPicture("pic.png", 64, 32);
    platform::DebugCapture log;
    auto loads = [&](auto change) {
        log.clear();
        change();
        reader_->process();
        return log.contains("Texture Memory Consumed");
    };
    EXPECT_TRUE(loads([&] { reader_->filename = "pic.png"; }));
    render::GL_Image* first = reader_->images[0];
    EXPECT_FALSE(loads([&] {
        reader_->center = true;
        reader_->scaleMode = ImageNode_Reader::Reference1080p;
        reader_->position[0] = 0.1f;
        reader_->scaleFac = 3.0f;
    }));
    EXPECT_EQ(reader_->images[0], first);
    EXPECT_TRUE(loads([&] { reader_->repeat = true; }));
    EXPECT_TRUE(loads([&] { reader_->preMultiply = true; }));
    folder_.folder().write("broken.png", std::string("not a picture"));
    EXPECT_FALSE(loads([&] { reader_->filename = "broken.png"; }));
    EXPECT_EQ(reader_->images[0], nullptr);
    EXPECT_TRUE(reader_->hasError);
    EXPECT_TRUE(log.contains("broken.png"));
    log.clear();
    reader_->process();
    EXPECT_EQ(log.text(), "") << "reported once";
    writeQuadrantPicture("broken.png", 8, 8);  // mended on disk: picked up once a load setting changes
    EXPECT_FALSE(loads([] {}));
    EXPECT_TRUE(loads([&] { reader_->repeat = false; }));
    EXPECT_FALSE(reader_->hasError);
    platform::makeDirectory("Pictures");  // project paths: backslashes and another case
    writeQuadrantPicture("Pictures/logo.png", 8, 8);
    EXPECT_TRUE(loads([&] { reader_->filename = ".\\pictures\\LOGO.png"; }));
}

TEST_F(Placement, EachModeFramesThePictureUprightRepeatTilesItAndPreMultiplyWeighsByAlpha) {
    connect("Picture", "Viewer 1", 0);
    showFile("pic.png", 64, 36, ImageNode_Reader::Stretch);
    expectQuadrantsShown(0, 0, 1920, 1080);
    reader_->scaleFac = 2.0f;  // ignored when stretched
    show();
    expectQuadrantsShown(0, 0, 1920, 1080);
    // Fit: a wide picture keeps the full width, a tall one the full height; the factor enlarges.
    showFile("wide.png", 64, 32, ImageNode_Reader::Fit);  // 2 x 1920 wide, 2 x 960 rows: red fills 960 rows
    EXPECT_EQ(screenPixel(1500, 400), kRed);
    EXPECT_EQ(screenPixel(1500, 1000), kBlue);
    // An exactly square picture gets no 16:9 correction and the factor shrinks it: saved productions rely on it.
    showFile("square.png", 64, 64, ImageNode_Reader::Fit);
    expectQuadrantsShown(0, 0, 960, 540);
    reader_->scaleFac = 1.0f;
    showFile("tall.png", 32, 64, ImageNode_Reader::Fit);  // 1920 / 3.5555556 = 540 columns
    EXPECT_EQ(screenPixel(400, 900), kWhite);
    EXPECT_EQ(screenPixel(700, 900), kBlack);
    showFile("half.png", 960, 540, ImageNode_Reader::Reference1080p);
    expectQuadrantsShown(0, 0, 960, 540);  // at its pixel size
    EXPECT_EQ(screenPixel(1440, 270), kBlack);
    EXPECT_EQ(screenPixel(480, 810), kBlack);
    reader_->center = true;
    show();
    expectQuadrantsShown(480, 270, 960, 540);
    EXPECT_EQ(screenPixel(200, 100), kBlack);
    reader_->center = false;
    reader_->repeat = true;
    show();
    expectQuadrantsShown(960, 540, 960, 540);
    // Blended over transparent black: 255 x 128/255 = 128; premultiplied, the stored 128 is weighted again: 64.
    writePicture("half-red.png", 1, 1, 4, {255, 0, 0, 128});
    reader_->filename = "half-red.png";
    for (auto [preMultiply, red] : {std::pair{false, 128}, {true, 64}}) {
        reader_->preMultiply = preMultiply;
        show();
        EXPECT_TRUE(near(screenPixel(960, 540), Rgba{uint8_t(red), 0, 0, 255}, 1)) << ::testing::PrintToString(screenPixel(960, 540));
    }
}

TEST_F(Placement, Transform2DMovesThenScalesThenAppliesItsInputsMatrixAndStartsFromIdentityWithoutOne) {
    auto* move = create<nodes::ImageNode_Transform2D>("Move", "2D_Transform");
    connect("Picture", "Move", 0);
    connect("Move", "Viewer 1", 0);
    move->position[0] = move->position[1] = 0.75f;
    move->scale[0] = move->scale[1] = 2.0f;
    // The reader samples at 2 u; the transform at 2 (u + 0.5 - 0.75): 4 u - 1, the picture over 0.25 ... 0.5.
    showFile("half.png", 960, 540, ImageNode_Reader::Reference1080p);
    expectQuadrantsShown(480, 270, 480, 270);
    EXPECT_EQ(screenPixel(240, 135), kBlack);
    EXPECT_EQ(screenPixel(1200, 700), kBlack);
    ASSERT_TRUE(engine().deleteNode("Picture"));
    show();
    EXPECT_FLOAT_EQ(move->textureMatrix[0], 2.0f);
    EXPECT_FLOAT_EQ(move->textureMatrix[12], -0.5f);
    EXPECT_EQ(screenPixel(960, 540), kBlack);
}

}  // namespace
}  // namespace vorn::test
