#include "engine/Node.h"

#include <gtest/gtest.h>

#include "engine/Engine.h"

namespace vorn::engine {
namespace {

class CountingNode : public Node {
public:
    CountingNode(Engine& engine, const std::string& name, int inputs, std::vector<std::string>* order)
        : Node(engine, name), order(order) {
        setInputCount(inputs);
    }
    NodeKind kind() const override { return NodeKind::Image; }
    bool acceptsInput(int32_t, const Node&) const override { return true; }
    bool process() override {
        ++processed;
        order->push_back(name);
        return processResult;
    }
    bool render() override {
        ++rendered;
        return renderResult;
    }
    std::vector<std::string>* order;
    int processed = 0;
    int rendered = 0;
    bool processResult = true;
    bool renderResult = true;
};

struct Graph {
    Engine engine;
    std::vector<std::string> order;
    CountingNode make(const std::string& name, int inputs) { return CountingNode(engine, name, inputs, &order); }
};

TEST(NodeTest, SetInputCountEmptiesAndNamesEveryInput) {
    Graph g;
    CountingNode node = g.make("n", 1);
    CountingNode other = g.make("o", 0);
    node.inputs[0] = &other;
    node.setInputCount(3);
    EXPECT_EQ(node.inputCount, 3);
    EXPECT_EQ(node.inputNames, (std::vector<std::string>{"input0", "input1", "input2"}));
    EXPECT_EQ(node.inputs, (std::vector<Node*>{nullptr, nullptr, nullptr}));
}

TEST(NodeTest, GetInputIsNullOutsideTheInputs) {
    Graph g;
    CountingNode node = g.make("n", 2);
    CountingNode source = g.make("s", 0);
    node.inputs[1] = &source;
    EXPECT_EQ(node.getInput(1), &source);
    EXPECT_EQ(node.getInput(0), nullptr);
    EXPECT_EQ(node.getInput(2), nullptr);
    EXPECT_EQ(node.getInput(-1), nullptr);
}

TEST(NodeTest, RemoveOutputRemovesEveryOccurrenceKeepingOrder) {
    Graph g;
    CountingNode n = g.make("n", 0), a = g.make("a", 0), b = g.make("b", 0), c = g.make("c", 0);
    n.outputs = {&a, &b, &a, &c};
    EXPECT_TRUE(n.removeOutput(&a));
    EXPECT_EQ(n.outputs, (std::vector<Node*>{&b, &c}));
    EXPECT_FALSE(n.removeOutput(&a));
    EXPECT_EQ(n.outputs.size(), 2u);
}

TEST(NodeTest, EvaluateWalksInputsDepthFirstAndRunsEachNodeOnce) {
    Graph g;
    // top takes a on input 0 and b on input 1; a and b both take shared.
    CountingNode top = g.make("top", 3), a = g.make("a", 1), b = g.make("b", 1), shared = g.make("shared", 0);
    top.inputs = {&a, &b, &a};
    a.inputs = {&shared};
    b.inputs = {&shared};
    EXPECT_TRUE(top.evaluate());
    EXPECT_EQ(g.order, (std::vector<std::string>{"shared", "a", "b", "top"}));
    EXPECT_EQ(shared.processed, 1);
    EXPECT_EQ(shared.rendered, 1);
    EXPECT_TRUE(shared.evaluated && a.evaluated && b.evaluated && top.evaluated);
}

TEST(NodeTest, SkippedInputsAreNotEvaluatedButTheConsumerRuns) {
    Graph g;
    CountingNode top = g.make("top", 1), skipped = g.make("skipped", 0);
    top.inputs = {&skipped};
    skipped.skipEvaluation = true;
    EXPECT_TRUE(top.evaluate());
    EXPECT_EQ(skipped.processed, 0);
    EXPECT_EQ(top.processed, 1);
}

TEST(NodeTest, FailuresAreReportedButStopNothing) {
    Graph g;
    CountingNode top = g.make("top", 2), failing = g.make("failing", 0), other = g.make("other", 0);
    top.inputs = {&failing, &other};
    failing.renderResult = false;
    EXPECT_FALSE(top.evaluate());
    EXPECT_TRUE(failing.evaluated);
    EXPECT_EQ(failing.processed, 1);
    EXPECT_EQ(other.processed, 1);
    EXPECT_EQ(top.processed, 1);
    EXPECT_EQ(top.rendered, 1);

    CountingNode lone = g.make("lone", 0);
    lone.processResult = false;
    EXPECT_FALSE(lone.evaluate());
    EXPECT_EQ(lone.rendered, 1);  // render runs even after process failed
}

TEST(NodeTest, Transform3DNodeStartsAsIdentity) {
    struct Transform : Transform3DNode {
        using Transform3DNode::Transform3DNode;
        bool acceptsInput(int32_t, const Node&) const override { return false; }
        bool process() override { return true; }
    };
    Engine engine;
    Transform t(engine, "t");
    EXPECT_EQ(t.kind(), NodeKind::Transform);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(t.matrix[std::size_t(i)], i % 5 == 0 ? 1.0f : 0.0f);
}

}  // namespace
}  // namespace vorn::engine
