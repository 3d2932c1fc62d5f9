#include "nodes/image/ImageNode.h"

#include "engine/Engine.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

class Picture : public nodes::ImageNode {
public:
    using ImageNode::ImageNode;
    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }
    bool process() override { return true; }
};

// Claims to be an image but is not built on ImageNode.
class Impostor : public engine::Node {
public:
    using Node::Node;
    engine::NodeKind kind() const override { return engine::NodeKind::Image; }
    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }
    bool process() override { return true; }
};

class Consumer : public engine::Node {
public:
    Consumer(engine::Engine& owner, std::string name) : Node(owner, std::move(name)) { setInputCount(3); }
    engine::NodeKind kind() const override { return engine::NodeKind::Output; }
    bool acceptsInput(int32_t, const engine::Node&) const override { return true; }
    bool process() override { return true; }
};

TEST(ImageNode, ImageInputYieldsOnlyConnectedImageNodes) {
    engine::Engine engine;
    Picture picture(engine, "p");
    Impostor impostor(engine, "i");
    Consumer consumer(engine, "c");
    consumer.inputs[0] = &picture;
    consumer.inputs[1] = &consumer;  // not an image
    consumer.inputs[2] = &impostor;
    EXPECT_EQ(nodes::imageInput(consumer, 0), &picture);
    EXPECT_EQ(nodes::imageInput(consumer, 1), nullptr);
    EXPECT_EQ(nodes::imageInput(consumer, 2), nullptr);
    EXPECT_EQ(nodes::imageInput(consumer, 3), nullptr);
    EXPECT_TRUE(nodes::isImageNode(&picture));
    EXPECT_FALSE(nodes::isImageNode(nullptr));
}

}  // namespace
}  // namespace vorn::test
