#include "nodes/image/TimeSwitch.h"

#include "tests/nodes/image/TestPictures.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

using nodes::ImageNode_TimeSwitch;

class TimeSwitchGraph : public PlayerGraph {
protected:
    void SetUp() override {
        PlayerGraph::SetUp();
        switch_ = create<ImageNode_TimeSwitch>("Switch", "Time Switch Image");
        ASSERT_NE(switch_, nullptr);
        input_ = paint("Input", {0, 1, 0, 1});
        connect("Input", "Switch", 0);
    }
    void setWindows(std::array<std::string, 8> texts) {
        for (int k = 0; k < 4; ++k) {
            switch_->startTexts[k] = texts[2 * k];
            switch_->stopTexts[k] = texts[2 * k + 1];
        }
    }

    ImageNode_TimeSwitch* switch_ = nullptr;
    Paint* input_ = nullptr;
};

TEST_F(TimeSwitchGraph, WithTheDefaultsNoWindowCountsAndTheInputIsNeverEvaluated) {
    EXPECT_FALSE(evaluateAt(*switch_, 0.0f));
    EXPECT_FALSE(evaluateAt(*switch_, 50.0f));
    EXPECT_TRUE(switch_->evaluated);
    EXPECT_EQ(input_->processCount, 0);
    for (render::GL_Image* slot : switch_->images) EXPECT_EQ(slot, nullptr);
}

TEST_F(TimeSwitchGraph, TheFirstMatchingWindowWinsAndLaterOnesAreNotExamined) {
    setWindows({"10", "20", "15", "30", "", "", "", ""});
    // 17 lies in A and B: A matches.
    EXPECT_TRUE(evaluateAt(*switch_, 17.0f));
    EXPECT_FALSE(switch_->hidden);
    EXPECT_EQ(switch_->images[0], input_->images[0]);
    EXPECT_EQ(input_->times, std::vector<float>{17.0f});
    // 25: A fails (hidden, slots emptied), then B matches and clears hidden again.
    EXPECT_TRUE(evaluateAt(*switch_, 25.0f));
    EXPECT_FALSE(switch_->hidden);
    EXPECT_EQ(switch_->images[0], input_->images[0]);
    EXPECT_EQ(input_->processCount, 2);
    // 35: outside both.
    EXPECT_FALSE(evaluateAt(*switch_, 35.0f));
    EXPECT_TRUE(switch_->hidden);
    EXPECT_EQ(switch_->images[0], nullptr);
    EXPECT_EQ(input_->processCount, 2);
    EXPECT_FLOAT_EQ(switch_->windows[1].stop, 30.0f);
}

TEST_F(TimeSwitchGraph, AWindowIsClosedAtBothEndsAndCountsOnlyWhenItsStopLiesAfterItsStart) {
    struct Case {
        std::array<std::string, 8> windows;  // start and stop of A, B, C, D
        std::vector<float> inside, outside;
    };
    const Case cases[] = {
        {{"", "", "", "", "", "", "10.5", "20.25"}, {10.5f, 20.25f}, {10.49f, 20.26f}},
        // Empty, reversed, and "abc" read as 0: only C (0 .. 3) counts.
        {{"5", "5", "8", "2", "abc", "3", "", ""}, {0.0f, 2.0f}, {4.0f, 5.0f}},
    };
    for (const Case& c : cases) {
        setWindows(c.windows);
        for (float t : c.inside) EXPECT_TRUE(evaluateAt(*switch_, t)) << t;
        for (float t : c.outside) EXPECT_FALSE(evaluateAt(*switch_, t)) << t;
    }
    EXPECT_EQ(input_->times, (std::vector<float>{10.5f, 20.25f, 0.0f, 2.0f}));
}

TEST_F(TimeSwitchGraph, PassesTheInputsPictureAndMatrixThroughOnlyInsideItsWindows) {
    create<engine::Node>("Viewer 1", "Viewer");
    connect("Switch", "Viewer 1", 0);
    input_->textureMatrix = render::scaleMatrix(2.0f, 2.0f, 1.0f);  // shown at half size in a corner
    setWindows({"1", "2", "", "", "", "", "", ""});

    showAt(1.5f);
    EXPECT_EQ(switch_->textureMatrix, input_->textureMatrix);
    EXPECT_EQ(screenPixel(480, 270), kGreen);
    EXPECT_EQ(screenPixel(1440, 810), kBlack);

    showAt(2.5f);
    EXPECT_EQ(screenPixel(480, 270), kBlack);
    EXPECT_EQ(input_->processCount, 1);
}

TEST_F(TimeSwitchGraph, KeepsNoPictureOfADeletedInput) {
    setWindows({"0", "10", "", "", "", "", "", ""});
    EXPECT_TRUE(evaluateAt(*switch_, 1.0f));
    ASSERT_NE(switch_->images[0], nullptr);
    ASSERT_TRUE(engine().deleteNode("Input"));
    EXPECT_FALSE(evaluateAt(*switch_, 2.0f));
    for (render::GL_Image* slot : switch_->images) EXPECT_EQ(slot, nullptr);
}

}  // namespace
}  // namespace vorn::test
