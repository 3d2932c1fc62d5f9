// The nodes that pass their input's pictures on: Time Switch Image, Sequencer,
// and every node that borrows its input's slots for a frame.
#include "nodes/image/Sequence.h"
#include "nodes/image/TimeSwitch.h"

#include "tests/nodes/image/ImageTestSupport.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

class PassThrough : public ImageGraph {
protected:
    void SetUp() override {
        ImageGraph::SetUp();
        for (int k = 0; k < 3; ++k) {
            inputs_[k] = picture("In" + std::to_string(k), solidPicture({}));
            inputs_[k]->textureMatrix = render::scaleMatrix(2.0f, 2.0f, 1.0f);
        }
    }
    std::size_t runs(int input) const { return inputs_[std::size_t(input)]->times.size(); }
    std::array<Picture*, 3> inputs_{};
};

TEST_F(PassThrough, BorrowedSlotsFollowTheInputsPictureEveryFrameAndEmptyWhenItIsDeleted) {
    struct Case {
        const char* type;
        int first, last;  // the slots that show the input's main picture; those before are the node's own
    };
    const Case cases[] = {{"2D_Transform", 0, 0}, {"Time Switch Image", 0, 0}, {"Sequencer", 0, 0}, {"Shader", 1, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        Picture* in = inputs_[0];
        nodes::ImageNode* node = c.type == std::string("Shader")
                                     ? shader("Node", "Input 0, \"Source\" \"rgba\" Source\n#version 330 core\n"
                                                      "out vec4 frag[1];\nvoid main() { frag[0] = vec4(1.0); }\n")
                                     : create<nodes::ImageNode>("Node", c.type);
        ASSERT_NE(node, nullptr);
        if (auto* window = dynamic_cast<nodes::ImageNode_TimeSwitch*>(node)) window->stopTexts[0] = "10";
        connect("In0", "Node", 0);
        evaluateAt(*node);
        EXPECT_EQ(node->images[std::size_t(c.first)], in->images[0]);
        auto replacement = solidPicture({0, 1, 0, 1});  // made while the old one lives: a new address
        render::GL_Image* next = replacement.get();
        in->show(0, std::move(replacement));
        evaluateAt(*node);
        for (int slot = c.first; slot <= c.last; ++slot) EXPECT_EQ(node->images[std::size_t(slot)], next) << slot;
        ASSERT_TRUE(engine().deleteNode("In0"));
        inputs_[0] = picture("In0", solidPicture({}));
        evaluateAt(*node);
        for (int slot = c.first; slot < nodes::ImageNode::kSlotCount; ++slot)
            EXPECT_EQ(node->images[std::size_t(slot)], nullptr) << slot;
        ASSERT_TRUE(engine().deleteNode("Node"));
    }
}

TEST_F(PassThrough, ATimeSwitchPassesItsInputOnInsideWindowsClosedAtBothEndsWhoseStopLiesAfterTheStart) {
    auto* cut = create<nodes::ImageNode_TimeSwitch>("Switch", "Time Switch Image");
    connect("In0", "Switch", 0);
    struct Case {
        std::vector<std::string> windows;  // start and stop of A, B, C, D; empty: as created
        std::vector<float> inside, outside;
    };
    const Case cases[] = {
        {{}, {}, {0.0f, 50.0f}},
        {{"", "", "", "", "", "", "10.5", "20.25"}, {10.5f, 20.25f}, {10.49f, 20.26f}},
        // Empty, reversed, and "abc" read as 0: only C (0 .. 3) counts.
        {{"5", "5", "8", "2", "abc", "3", "", ""}, {0.0f, 2.0f}, {4.0f, 5.0f}},
        // 25 fails A but matches B.
        {{"0", "20", "15", "30", "", "", "", ""}, {17.0f, 25.0f}, {35.0f}},
    };
    for (const Case& c : cases) {
        for (std::size_t k = 0; k < c.windows.size(); k += 2) {
            cut->startTexts[k / 2] = c.windows[k];
            cut->stopTexts[k / 2] = c.windows[k + 1];
        }
        for (float t : c.inside) EXPECT_TRUE(evaluateAt(*cut, t)) << t;
        for (float t : c.outside) EXPECT_FALSE(evaluateAt(*cut, t)) << t;
    }
    EXPECT_EQ(inputs_[0]->times, (std::vector<float>{10.5f, 20.25f, 0.0f, 2.0f, 17.0f, 25.0f}));  // only inside
    evaluateAt(*cut, 25.0f);
    EXPECT_EQ(cut->images[0], inputs_[0]->images[0]);
    EXPECT_EQ(cut->textureMatrix, inputs_[0]->textureMatrix);
    evaluateAt(*cut, 35.0f);
    EXPECT_EQ(cut->images[0], nullptr) << "nothing borrowed is kept outside";
}

// Evaluation selects with the start times of the frame before; processing
// parses them anew and copies the last input that has started at once.
TEST_F(PassThrough, ASequencerSelectsWithLastFramesStartTimesAndEvaluatesOnlyTheSelectedInput) {
    auto* sequence = create<nodes::ImageNode_Sequence>("Seq", "Sequencer");
    for (int k = 0; k < 3; ++k) connect("In" + std::to_string(k), "Seq", k);
    sequence->startTexts[0] = "3000";
    sequence->startTexts[1] = "20000";
    sequence->startTexts[12] = "1";  // registered, but selects nothing
    struct Step {
        float time;
        const char* start2;
        std::size_t runs0, runs2;
        int shown;  // -1: nothing
    };
    const Step steps[] = {
        {1.0f, "5000", 0, 1, -1},  // every start still reads 0: input 2 runs, but nothing has started
        {2.9f, "5000", 0, 1, -1},
        {3.0f, "5000", 1, 1, 0},
        {4.999f, "5000", 2, 1, 0},
        {5.0f, "5000", 2, 2, 2},
        {3.0f, "500", 3, 2, 2},  // selected with 5 s, copied with 0.5 s
        {3.0f, "500", 3, 3, 2},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(::testing::Message() << s.time << " s, start 2 at " << s.start2);
        sequence->startTexts[2] = s.start2;
        EXPECT_TRUE(evaluateAt(*sequence, s.time));
        EXPECT_EQ(runs(0), s.runs0);
        EXPECT_EQ(runs(2), s.runs2);
        EXPECT_EQ(sequence->images[0], s.shown < 0 ? nullptr : inputs_[std::size_t(s.shown)]->images[0]);
    }
    EXPECT_EQ(runs(1), 0u);
    EXPECT_EQ(sequence->textureMatrix, render::identityMatrix());
    inputs_[2]->skipEvaluation = true;
    EXPECT_TRUE(evaluateAt(*sequence, 6.0f));
    EXPECT_EQ(runs(2), 3u);
    EXPECT_EQ(sequence->images[0], inputs_[2]->images[0]) << "a skipped input is shown unevaluated";
}

}  // namespace
}  // namespace vorn::test
