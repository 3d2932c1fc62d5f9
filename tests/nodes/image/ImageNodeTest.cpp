#include "nodes/image/ImageNode.h"

#include "engine/Engine.h"
#include "tests/engine/TestNodes.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

class Picture : public nodes::ImageNode {
public:
    using ImageNode::ImageNode;
    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }
    bool process() override { return true; }
};

TEST(ImageNode, ImageInputYieldsOnlyConnectedNodesBuiltOnImageNode) {
    engine::Engine engine;
    Picture picture(engine, "p");
    TestImageNode impostor(engine, "i");  // says it is an image, but is no ImageNode
    TestImageNode consumer(engine, "c");
    consumer.inputs = {&picture, &impostor, nullptr};
    EXPECT_EQ(nodes::imageInput(consumer, 0), &picture);
    EXPECT_EQ(nodes::imageInput(consumer, 1), nullptr);
    EXPECT_EQ(nodes::imageInput(consumer, 2), nullptr);
    EXPECT_EQ(nodes::imageInput(consumer, 3), nullptr);
}

}  // namespace
}  // namespace vorn::test
