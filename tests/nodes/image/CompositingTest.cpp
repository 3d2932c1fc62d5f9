// Compose, Glow and MotionBlur: nodes that draw their inputs into a target of their own.
#include "nodes/image/Compose.h"
#include "nodes/image/Glow.h"
#include "nodes/image/MotionBlur.h"

#include "tests/nodes/image/ImageTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vorn::test {
namespace {

const Colour kRedF{1, 0, 0, 1}, kGreenF{0, 1, 0, 1}, kBlueF{0, 0, 1, 1}, kWhiteF{1, 1, 1, 1}, kBlackF{0, 0, 0, 1};

Colour times(const Colour& c, float k) { return {c[0] * k, c[1] * k, c[2] * k, c[3] * k}; }

class Compositing : public ImageGraph {
protected:
    void SetUp() override {
        ImageGraph::SetUp();
        create<engine::Node>("Viewer 1", "Viewer");
        a_ = picture("A", solidPicture({}));
        b_ = picture("B", solidPicture({}));
    }
    template <class T>
    T* node(const std::string& type, std::vector<std::string> inputs) {
        T* made = create<T>(type, type);
        connect(type, "Viewer 1", 0);
        for (std::size_t i = 0; i < inputs.size(); ++i) connect(inputs[i], type, int(i));
        return made;
    }
    Picture* a_ = nullptr;
    Picture* b_ = nullptr;
};

TEST_F(Compositing, ComposePutsBOverAPremultipliedAndClearsToTransparentBlackEveryFrame) {
    auto* compose = node<nodes::ImageNode_Compose>("Compose", {});
    struct Case {
        Colour a, b;  // alpha -1: the input is not connected
        Colour expected;
    };
    const Colour none{0, 0, 0, -1};
    const Case cases[] = {
        {kGreenF, kBlueF, kBlueF},  // an opaque B hides A
        {none, none, {0, 0, 0, 0}},
        {none, {0, 0, 0.6f, 0.6f}, {0, 0, 0.6f, 0.6f}},  // B alone as it is
        {kWhiteF, {0.5f, 0, 0, 0.5f}, {1, 0.5f, 0.5f, 1}},
    };
    for (const Case& c : cases) {
        for (auto [input, colour] : {std::pair{a_, c.a}, {b_, c.b}}) {
            int index = input == a_ ? 0 : 1;
            engine().disconnect("Compose", index);
            input->show(0, solidPicture(colour));
            if (colour[3] >= 0) connect(input->name, "Compose", index);
        }
        showAt(1.0f);
        EXPECT_TRUE(closeTo(pixelOf(*compose, 480, 810), c.expected));
    }
    EXPECT_TRUE(near(screenPixel(960, 540), {255, 128, 128, 255}, 1)) << ::testing::PrintToString(screenPixel(960, 540));
    a_->show(0, solidPicture(kGreenF));
    engine().processAll();  // processing without drawing (after a load) leaves the picture alone
    EXPECT_TRUE(closeTo(pixelOf(*compose, 480, 810), {1, 0.5f, 0.5f, 1}));
    // The inputs' texture matrices are not applied: at half size in a corner through it.
    a_->show(0, quarterPicture(kRedF, kGreenF, kBlueF, kWhiteF));
    a_->textureMatrix = render::scaleMatrix(2.0f, 2.0f, 1.0f);
    engine().disconnect("Compose", 1);
    showAt(1.0f);
    EXPECT_TRUE(closeTo(pixelOf(*compose, 1440, 270), kGreenF));
    EXPECT_TRUE(closeTo(pixelOf(*compose, 480, 810), kBlueF));
    EXPECT_EQ(compose->textureMatrix, render::identityMatrix());
}

// Both blur passes and the composite sample the input where it is shown, over
// the whole frame although the blur targets are half size.
TEST_F(Compositing, GlowAddsItsBlurWhereTheInputIsShownWeighedByTheMask) {
    auto* glow = node<nodes::ImageNode_Glow>("Glow", {"A"});
    const Colour c{0, 0, 0.3f, 1}, d{0.4f, 0.4f, 0, 1};
    a_->show(0, quarterPicture({0.1f, 0, 0, 1}, {0, 0.2f, 0, 1}, c, d));
    // (u, v) -> (1 - u, v / 2 + 1/2): the upper half turned over and stretched over the frame.
    a_->textureMatrix = render::matrixProduct(render::translationMatrix(1.0f, 0.5f, 0.0f),
                                              render::scaleMatrix(-1.0f, 0.5f, 1.0f));
    glow->radius = 0.0f;  // the blurred copy lies exactly on the picture
    for (float intensity : {0.0f, 1.0f}) {
        glow->intensity = intensity;
        showAt(1.0f);
        for (int y : {270, 972}) {
            EXPECT_TRUE(closeTo(pixelOf(*glow, 480, y), times(d, 1 + intensity))) << intensity << " " << y;
            EXPECT_TRUE(closeTo(pixelOf(*glow, 1440, y), times(c, 1 + intensity))) << intensity << " " << y;
        }
    }
    a_->show(0, solidPicture(kGreenF));
    engine().processAll();  // processing without drawing leaves the picture alone
    EXPECT_TRUE(closeTo(pixelOf(*glow, 480, 270), times(d, 2)));
    // The mask weighs the glow where it is shown.
    const Colour grey{0.25f, 0.25f, 0.25f, 0.5f};
    a_->show(0, solidPicture(grey));
    b_->show(0, quarterPicture(kBlackF, kBlackF, kWhiteF, kWhiteF));  // glow only where t > 0.5
    connect("B", "Glow", 1);
    glow->mask = 1.0f;
    showAt(1.0f);
    EXPECT_TRUE(closeTo(pixelOf(*glow, 480, 270), grey));
    EXPECT_TRUE(closeTo(pixelOf(*glow, 1440, 108), grey));
    EXPECT_TRUE(closeTo(pixelOf(*glow, 480, 810), times(grey, 2.0f)));
    EXPECT_TRUE(closeTo(pixelOf(*glow, 1440, 972), times(grey, 2.0f)));
    // An edge spreads over about the radius.
    engine().disconnect("Glow", 1);
    glow->mask = 0.0f;
    a_->show(0, quarterPicture(kWhiteF, kBlackF, kWhiteF, kBlackF));
    a_->textureMatrix = render::identityMatrix();
    glow->radius = 40.0f;  // full-resolution pixels
    showAt(1.0f);
    auto glowAt = [&](int x) { return pixelOf(*glow, x, 540)[0]; };
    EXPECT_NEAR(glowAt(700), 2.0f, 2e-3f);
    EXPECT_NEAR(glowAt(1200), 0.0f, 2e-3f);
    // Right of the edge some light has spread over; left of it the picture
    // is white plus a little less than all of the glow. The kernel reaches 40 x 5 pixels.
    EXPECT_GT(glowAt(980), 0.05f);
    EXPECT_LT(glowAt(980), 0.5f);
    EXPECT_GT(glowAt(940), 1.5f);
    EXPECT_LT(glowAt(940), 1.95f);
}

// The n sample times of a frame at t, worked out in double precision.
void expectSampleTimes(const std::vector<float>& actual, double t, double shutter, std::size_t n) {
    ASSERT_EQ(actual.size(), n);
    for (std::size_t i = 0; i < n; ++i) EXPECT_NEAR(actual[i], t - double(i) * shutter / double(n), 2e-6) << i;
}

TEST_F(Compositing, MotionBlurShowsTheMeanOfSamplesStepsBackAndRestoresTheClock) {
    auto* moving = picture("Moving", solidPicture({}));
    auto* blur = node<nodes::ImageNode_MotionBlur>("MotionBlur", {"Moving"});
    blur->samples = 1;  // "6"
    blur->shutter = 0.6f;
    // Sample i shows red i / 5, green 1 - i / 5.
    moving->colourAt = [](float time) {
        float i = std::round((10.0f - time) / 0.1f);
        return Colour{i / 5.0f, 1.0f - i / 5.0f, 0.25f, 1.0f};
    };
    engine().time = 0.0f;
    engine().addKeyframe("Moving", "Level");
    engine().time = 100.0f;
    moving->level = 100.0f;
    engine().setKeyAtCurrentTime("Moving", "Level");
    engine().clockDrift = 0.25f;
    engine().busyTime = 7.0f;
    EXPECT_TRUE(evaluateAt(*blur, 10.0f));
    expectSampleTimes(moving->times, 10.0, 0.6, 6);
    EXPECT_TRUE(closeTo(pixelOf(*blur, 960, 540), {0.5f, 0.5f, 0.25f, 1.0f}));
    EXPECT_NEAR(moving->level, 10.0 - 5 * 0.6 / 6, 1e-4) << "keyframed values keep the last sample time";
    EXPECT_EQ(engine().time, 10.0f);
    EXPECT_EQ(engine().clockDrift, 0.25f);
    EXPECT_EQ(engine().busyTime, 7.0f);
    EXPECT_EQ(engine().drawingEnabled, 1);
    moving->times.clear();
    moving->processResult = false;  // the first failing sample stops the rest
    EXPECT_FALSE(evaluateAt(*blur, 2.0f));
    EXPECT_EQ(moving->times.size(), 1u);
    EXPECT_EQ(engine().time, 2.0f);
}

// With "Blur All" (the default) everything upstream is redrawn per sample, as the nested blur below shows.
TEST_F(Compositing, MotionBlurWithoutBlurAllRedrawsOnlyItsDirectInput) {
    auto* source = picture("Source", solidPicture({}));
    auto* moving = picture("Moving", solidPicture({0.2f, 0.4f, 0.6f, 1.0f}));
    connect("Source", "Moving", 0);
    auto* blur = node<nodes::ImageNode_MotionBlur>("MotionBlur", {"Moving"});
    blur->samples = 0;
    blur->shutter = 0.4f;
    blur->blurAll = false;
    showAt(5.0f);
    expectSampleTimes(moving->times, 5.0, 0.4, 4);
    EXPECT_TRUE(source->times.empty());
    EXPECT_TRUE(closeTo(pixelOf(*blur, 600, 600), {0.2f, 0.4f, 0.6f, 1.0f}));  // a still picture is not blurred
}

TEST_F(Compositing, MotionBlurOfAMotionBlurIsTheMeanOverEverySampleTime) {
    // Outer: 4 samples 0.1 s apart; inner: 4 samples 0.025 s apart, below each.
    auto* moving = picture("Moving", solidPicture({}));
    auto* inner = create<nodes::ImageNode_MotionBlur>("Inner", "MotionBlur");
    connect("Moving", "Inner", 0);
    auto* outer = node<nodes::ImageNode_MotionBlur>("MotionBlur", {"Inner"});
    inner->samples = outer->samples = 0;
    inner->shutter = 0.1f;
    outer->shutter = 0.4f;
    // Red grows with the distance from the frame time: 0, 1/16 ... 15/16 over the 16 times.
    moving->colourAt = [](float time) { return Colour{std::round((8.0f - time) / 0.025f) / 16.0f, 0, 0, 1}; };
    showAt(8.0f);
    ASSERT_EQ(moving->times.size(), 16u);
    EXPECT_TRUE(closeTo(pixelOf(*outer, 960, 540), {15.0f / 32.0f, 0.0f, 0.0f, 1.0f}));  // the mean of k / 16
}

}  // namespace
}  // namespace vorn::test
