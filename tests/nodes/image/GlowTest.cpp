#include "nodes/image/Glow.h"

#include "tests/nodes/image/TestPictures.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

using nodes::ImageNode_Glow;

Colour times(const Colour& c, float k) { return {c.r * k, c.g * k, c.b * k, c.a * k}; }

class GlowGraph : public PlayerGraph {
protected:
    void SetUp() override {
        PlayerGraph::SetUp();
        glow_ = create<ImageNode_Glow>("Glow 1", "Glow");
        ASSERT_NE(glow_, nullptr);
        create<engine::Node>("Viewer 1", "Viewer");
        connect("Glow 1", "Viewer 1", 0);
    }

    ImageNode_Glow* glow_ = nullptr;
};

TEST_F(GlowGraph, AtIntensityZeroOrUnderABlackMaskTheInputIsShownUnchanged) {
    writeQuadrantPicture("pic.png", 64, 36);
    create<nodes::ImageNode_Reader>("Picture", "2D_ImgReader")->filename = "pic.png";
    connect("Picture", "Glow 1", 0);
    glow_->intensity = 0.0f;
    showAt(1.0f);
    expectQuadrantsShown(0, 0, 1920, 1080);

    paint("Black", {0, 0, 0, 1});
    connect("Black", "Glow 1", 1);
    glow_->mask = 1.0f;
    glow_->intensity = 2.0f;
    showAt(1.0f);
    expectQuadrantsShown(0, 0, 1920, 1080);
}

TEST_F(GlowGraph, AnEvenPictureGainsItsBlurTimesTheIntensity) {
    const Colour grey{0.2f, 0.1f, 0.05f, 0.25f};
    paint("Grey", grey);
    connect("Grey", "Glow 1", 0);
    glow_->intensity = 1.5f;
    showAt(1.0f);
    // The blur of an even picture is the picture itself, away from the edges.
    expectColour(texelOf(*glow_, 0.5f, 0.5f), times(grey, 2.5f));
    expectColour(texelOf(*glow_, 0.1f, 0.9f), times(grey, 2.5f));
}

TEST_F(GlowGraph, TheBlurSpreadsAnEdgeOverAboutTheRadius) {
    // Left half white, right half black; 40 full-resolution pixels of radius.
    auto* edge = create<Paint>("Edge", "Test Paint");
    const Colour white{1, 1, 1, 1}, black{0, 0, 0, 1};
    edge->quarters = Quarters{white, black, white, black};
    connect("Edge", "Glow 1", 0);
    glow_->radius = 40.0f;
    glow_->intensity = 1.0f;
    showAt(1.0f);
    auto glowAt = [&](int x) { return texelOf(*glow_, (float(x) + 0.5f) / 1920.0f, 0.5f).r; };
    EXPECT_NEAR(glowAt(700), 2.0f, 2e-3f);
    EXPECT_NEAR(glowAt(1200), 0.0f, 2e-3f);
    // Just right of the edge some light has spread over; beyond the reach of
    // the kernel (40 x 5 = 200 pixels) none has.
    EXPECT_GT(glowAt(980), 0.05f);
    EXPECT_LT(glowAt(980), 0.5f);
    // Left of the edge the picture is white plus a little less than all of the glow.
    EXPECT_GT(glowAt(940), 1.5f);
    EXPECT_LT(glowAt(940), 1.95f);
}

TEST_F(GlowGraph, TheMaskWeighsTheGlowWhereItIsShown) {
    const Colour grey{0.25f, 0.25f, 0.25f, 0.5f};
    paint("Grey", grey);
    auto* mask = create<Paint>("Mask", "Test Paint");
    const Colour white{1, 1, 1, 1}, black{0, 0, 0, 1};
    mask->quarters = Quarters{black, black, white, white};  // glow only where t > 0.5
    connect("Grey", "Glow 1", 0);
    connect("Mask", "Glow 1", 1);
    glow_->mask = 1.0f;
    glow_->radius = 0.0f;
    showAt(1.0f);
    expectColour(texelOf(*glow_, 0.25f, 0.75f), times(grey, 2.0f));
    expectColour(texelOf(*glow_, 0.75f, 0.9f), times(grey, 2.0f));
    expectColour(texelOf(*glow_, 0.25f, 0.25f), grey);
    expectColour(texelOf(*glow_, 0.75f, 0.1f), grey);
}

TEST_F(GlowGraph, TheGlowFollowsTheInputsPlacement) {
    // The input is shown through its matrix: (u, v) -> (u, v / 2 + 1/2), its
    // upper half stretched over the frame.
    auto* picture = create<Paint>("Picture", "Test Paint");
    const Colour a{0.1f, 0, 0, 1}, b{0, 0.2f, 0, 1}, c{0, 0, 0.3f, 1}, d{0.4f, 0.4f, 0, 1};
    picture->quarters = Quarters{a, b, c, d};
    picture->textureMatrix = render::matrixProduct(render::translationMatrix(0.0f, 0.5f, 0.0f),
                                                   render::scaleMatrix(1.0f, 0.5f, 1.0f));
    connect("Picture", "Glow 1", 0);
    glow_->radius = 0.0f;

    glow_->intensity = 0.0f;
    showAt(1.0f);
    expectColour(texelOf(*glow_, 0.25f, 0.25f), c);
    expectColour(texelOf(*glow_, 0.75f, 0.25f), d);
    expectColour(texelOf(*glow_, 0.25f, 0.9f), c);
    expectColour(texelOf(*glow_, 0.75f, 0.9f), d);

    // With no spread the blurred copy lies exactly on the picture.
    glow_->intensity = 1.0f;
    showAt(1.0f);
    expectColour(texelOf(*glow_, 0.25f, 0.25f), times(c, 2.0f));
    expectColour(texelOf(*glow_, 0.75f, 0.25f), times(d, 2.0f));
    expectColour(texelOf(*glow_, 0.25f, 0.9f), times(c, 2.0f));
    expectColour(texelOf(*glow_, 0.75f, 0.9f), times(d, 2.0f));
}

TEST_F(GlowGraph, DrawsNothingWhileDrawingIsDisabled) {
    auto* picture = paint("Picture", {1, 0, 0, 1});
    connect("Picture", "Glow 1", 0);
    glow_->intensity = 0.0f;
    showAt(1.0f);
    picture->colourAt = [](float) { return Colour{0, 1, 0, 1}; };
    picture->paint();
    engine().processAll();
    expectColour(texelOf(*glow_, 0.5f, 0.5f), {1, 0, 0, 1});
}

}  // namespace
}  // namespace vorn::test
