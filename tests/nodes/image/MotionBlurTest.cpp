#include "nodes/image/MotionBlur.h"

#include "tests/nodes/image/TestPictures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vorn::test {
namespace {

using nodes::ImageNode_MotionBlur;

class MotionBlurGraph : public PlayerGraph {
protected:
    void SetUp() override {
        PlayerGraph::SetUp();
        blur_ = create<ImageNode_MotionBlur>("Blur", "MotionBlur");
        ASSERT_NE(blur_, nullptr);
        moving_ = create<Paint>("Moving", "Test Paint");
        connect("Moving", "Blur", 0);
        create<engine::Node>("Viewer 1", "Viewer");
        connect("Blur", "Viewer 1", 0);
    }

    // The times sample i of n is taken at, worked out in double precision.
    static std::vector<double> sampleTimes(double t, double shutter, int n) {
        std::vector<double> times;
        for (int i = 0; i < n; ++i) times.push_back(t - i * shutter / n);
        return times;
    }
    static void expectTimes(const std::vector<float>& actual, const std::vector<double>& expected) {
        ASSERT_EQ(actual.size(), expected.size());
        for (std::size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 2e-6) << "sample " << i;
    }

    ImageNode_MotionBlur* blur_ = nullptr;
    Paint* moving_ = nullptr;
};

TEST_F(MotionBlurGraph, RendersAtStepsOfShutterOverNBeforeTheFrameTimeAndRestoresTheClock) {
    blur_->samples = 0;  // "4"
    blur_->shutter = 0.001f;
    engine().time = 3.0f;
    engine().clockDrift = 0.25f;
    engine().busyTime = 7.0f;
    EXPECT_TRUE(evaluateAt(*blur_, 3.0f));
    expectTimes(moving_->times, {3.0, 2.99975, 2.9995, 2.99925});
    EXPECT_EQ(engine().time, 3.0f);
    EXPECT_EQ(engine().clockDrift, 0.25f);
    EXPECT_EQ(engine().busyTime, 7.0f);
    EXPECT_EQ(engine().drawingEnabled, 1);
    EXPECT_TRUE(blur_->evaluated);
}

TEST_F(MotionBlurGraph, ThePictureIsTheMeanOfTheSamples) {
    blur_->samples = 1;  // "6"
    blur_->shutter = 0.6f;
    // Sample i shows red i / 5, green 1 - i / 5.
    moving_->colourAt = [](float time) {
        float i = std::round((10.0f - time) / 0.1f);
        return Colour{i / 5.0f, 1.0f - i / 5.0f, 0.25f, 1.0f};
    };
    showAt(10.0f);
    expectTimes(moving_->times, sampleTimes(10.0, 0.6, 6));
    expectColour(texelOf(*blur_, 0.5f, 0.5f), {0.5f, 0.5f, 0.25f, 1.0f});
    EXPECT_TRUE(near(screenPixel(960, 540), {128, 128, 64, 255}, 1)) << ::testing::PrintToString(screenPixel(960, 540));
}

TEST_F(MotionBlurGraph, KeyframedValuesKeepTheLastSampleTimeForTheRestOfTheFrame) {
    blur_->samples = 0;  // "4"
    blur_->shutter = 0.1f;
    engine().time = 0.0f;
    moving_->level = 0.0f;
    engine().addKeyframe("Moving", "Level");
    engine().time = 100.0f;
    moving_->level = 100.0f;
    engine().setKeyAtCurrentTime("Moving", "Level");

    showAt(10.0f);
    EXPECT_EQ(engine().time, 10.0f);
    EXPECT_NEAR(moving_->level, 10.0 - 3 * 0.1 / 4, 1e-4);
}

TEST_F(MotionBlurGraph, BlurAllRedrawsEverythingUpstreamAndWithoutItOnlyTheDirectInput) {
    blur_->samples = 0;
    blur_->shutter = 0.4f;
    auto* source = create<Paint>("Source", "Test Paint");
    connect("Source", "Moving", 0);
    create<engine::Node>("Viewer 2", "Viewer");
    connect("Source", "Viewer 2", 0);
    showAt(5.0f);
    // Viewer 1 drives the blur first; Viewer 2 finds Source done with the last sample.
    expectTimes(source->times, sampleTimes(5.0, 0.4, 4));
    expectTimes(moving_->times, sampleTimes(5.0, 0.4, 4));

    source->times.clear();
    moving_->times.clear();
    ASSERT_TRUE(engine().deleteNode("Viewer 2"));
    blur_->blurAll = false;
    moving_->colourAt = [](float) { return Colour{0.2f, 0.4f, 0.6f, 1.0f}; };
    showAt(5.0f);
    expectTimes(moving_->times, sampleTimes(5.0, 0.4, 4));
    EXPECT_TRUE(source->times.empty());
    expectColour(texelOf(*blur_, 0.3f, 0.6f), {0.2f, 0.4f, 0.6f, 1.0f});  // a still picture is not blurred
}

TEST_F(MotionBlurGraph, StopsAfterTheFirstFailingSampleAndWithoutAnInputRunsNothing) {
    blur_->samples = 0;
    moving_->processResult = false;
    EXPECT_FALSE(evaluateAt(*blur_, 2.0f));
    EXPECT_EQ(moving_->processCount, 1);
    EXPECT_EQ(engine().time, 2.0f);
    ASSERT_TRUE(engine().deleteNode("Moving"));
    EXPECT_TRUE(evaluateAt(*blur_, 3.0f));
    EXPECT_EQ(engine().time, 3.0f);
}

TEST_F(MotionBlurGraph, ABlurOfABlurIsTheMeanOverEverySampleTime) {
    // Outer: 4 samples 0.1 s apart; inner: 4 samples 0.025 s apart, below each.
    ASSERT_TRUE(engine().createNode("Inner", "MotionBlur"));
    auto* inner = dynamic_cast<ImageNode_MotionBlur*>(engine().findNode("Inner"));
    ASSERT_TRUE(engine().deleteNode("Blur"));
    ASSERT_TRUE(engine().createNode("Outer", "MotionBlur"));
    auto* outer = dynamic_cast<ImageNode_MotionBlur*>(engine().findNode("Outer"));
    connect("Moving", "Inner", 0);
    connect("Inner", "Outer", 0);
    connect("Outer", "Viewer 1", 0);
    inner->samples = outer->samples = 0;
    inner->shutter = 0.1f;
    outer->shutter = 0.4f;
    // Red grows with the distance from the frame time: 0, 1/16 ... 15/16 over the 16 times.
    moving_->colourAt = [](float time) {
        float steps = std::round((8.0f - time) / 0.025f);
        return Colour{steps / 16.0f, 0.0f, 0.0f, 1.0f};
    };
    showAt(8.0f);
    ASSERT_EQ(moving_->times.size(), 16u);
    // Mean of k / 16 for k = 0 ... 15.
    expectColour(texelOf(*outer, 0.5f, 0.5f), {15.0f / 32.0f, 0.0f, 0.0f, 1.0f});
}

}  // namespace
}  // namespace vorn::test
