#include "nodes/image/Sequence.h"

#include "tests/nodes/image/TestPictures.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

using nodes::ImageNode_Sequence;

class SequenceGraph : public PlayerGraph {
protected:
    void SetUp() override {
        PlayerGraph::SetUp();
        sequence_ = create<ImageNode_Sequence>("Seq", "Sequencer");
        ASSERT_NE(sequence_, nullptr);
        for (int k = 0; k < 3; ++k) {
            inputs_[k] = paint("In" + std::to_string(k), kColours[k]);
            inputs_[k]->textureMatrix = render::scaleMatrix(2.0f, 2.0f, 1.0f);
        }
    }

    static constexpr Colour kColours[3] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};
    ImageNode_Sequence* sequence_ = nullptr;
    std::array<Paint*, 3> inputs_{};
};

TEST_F(SequenceGraph, ShowsTheLastStartedInputAndEvaluatesOnlyThatOne) {
    connect("In0", "Seq", 0);
    connect("In1", "Seq", 1);
    connect("In2", "Seq", 2);
    sequence_->startTexts[0] = "0";
    sequence_->startTexts[1] = "20000";
    sequence_->startTexts[2] = "5000";
    sequence_->startTexts[12] = "1";  // registered, but selects nothing
    sequence_->process();              // the start times as they would stand after an earlier frame

    EXPECT_TRUE(evaluateAt(*sequence_, 4.999f));
    EXPECT_EQ(sequence_->images[0], inputs_[0]->images[0]);
    EXPECT_TRUE(evaluateAt(*sequence_, 5.0f));
    EXPECT_EQ(sequence_->images[0], inputs_[2]->images[0]);
    EXPECT_TRUE(evaluateAt(*sequence_, 12.0f));

    EXPECT_EQ(inputs_[0]->times, std::vector<float>{4.999f});
    EXPECT_EQ(inputs_[1]->processCount, 0);
    EXPECT_EQ(inputs_[2]->times, (std::vector<float>{5.0f, 12.0f}));
    EXPECT_FLOAT_EQ(sequence_->startTimes[2], 5.0f);
    EXPECT_EQ(sequence_->textureMatrix, render::identityMatrix()) << "the matrix is not copied";
}

TEST_F(SequenceGraph, ShowsTheChosenInputOnScreenWithoutItsMatrix) {
    create<engine::Node>("Viewer 1", "Viewer");
    connect("Seq", "Viewer 1", 0);
    connect("In0", "Seq", 0);
    connect("In2", "Seq", 2);
    sequence_->startTexts[2] = "5000";
    showAt(1.0f);  // the first frame still selects with every start at 0
    showAt(1.0f);
    EXPECT_EQ(screenPixel(1440, 810), kRed);
    showAt(6.0f);
    EXPECT_EQ(screenPixel(1440, 810), kBlue);
}

TEST_F(SequenceGraph, AnEditedStartTimeSelectsOneFrameLaterButIsCopiedAtOnce) {
    connect("In0", "Seq", 0);
    connect("In2", "Seq", 2);
    sequence_->startTexts[2] = "5000";

    // Before any processing every start reads 0: input 2 is evaluated, but
    // processing parses 5 s and copies input 0.
    EXPECT_TRUE(evaluateAt(*sequence_, 1.0f));
    EXPECT_EQ(inputs_[2]->processCount, 1);
    EXPECT_EQ(inputs_[0]->processCount, 0);
    EXPECT_EQ(sequence_->images[0], inputs_[0]->images[0]);

    EXPECT_TRUE(evaluateAt(*sequence_, 1.0f));
    EXPECT_EQ(inputs_[0]->processCount, 1);
    EXPECT_EQ(inputs_[2]->processCount, 1);

    sequence_->startTexts[2] = "500";
    EXPECT_TRUE(evaluateAt(*sequence_, 1.0f));
    EXPECT_EQ(inputs_[0]->processCount, 2) << "selected with the start times of the frame before";
    EXPECT_EQ(inputs_[2]->processCount, 1);
    EXPECT_EQ(sequence_->images[0], inputs_[2]->images[0]);

    EXPECT_TRUE(evaluateAt(*sequence_, 1.0f));
    EXPECT_EQ(inputs_[0]->processCount, 2);
    EXPECT_EQ(inputs_[2]->processCount, 2);
}

TEST_F(SequenceGraph, BeforeTheFirstStartNothingRunsAndNothingIsShown) {
    connect("In1", "Seq", 1);
    sequence_->startTexts[1] = "3000";
    // Selected while every start still reads 0, but processing already knows better.
    EXPECT_TRUE(evaluateAt(*sequence_, 0.0f));
    EXPECT_EQ(inputs_[1]->processCount, 1);
    EXPECT_EQ(sequence_->images[0], nullptr);

    EXPECT_TRUE(evaluateAt(*sequence_, 2.9f));
    EXPECT_TRUE(sequence_->evaluated);
    EXPECT_EQ(inputs_[1]->processCount, 1);
    EXPECT_EQ(sequence_->images[0], nullptr);

    EXPECT_TRUE(evaluateAt(*sequence_, 3.0f));
    EXPECT_EQ(inputs_[1]->processCount, 2);
    EXPECT_EQ(sequence_->images[0], inputs_[1]->images[0]);
}

TEST_F(SequenceGraph, ASkippedInputIsShownUnevaluatedAndADeletedOneLeavesNoPicture) {
    connect("In0", "Seq", 0);
    inputs_[0]->skipEvaluation = true;
    EXPECT_TRUE(evaluateAt(*sequence_, 1.0f));
    EXPECT_EQ(inputs_[0]->processCount, 0);
    EXPECT_EQ(sequence_->images[0], inputs_[0]->images[0]);
    ASSERT_TRUE(engine().deleteNode("In0"));
    EXPECT_TRUE(evaluateAt(*sequence_, 2.0f));
    for (render::GL_Image* slot : sequence_->images) EXPECT_EQ(slot, nullptr);
}

}  // namespace
}  // namespace vorn::test
