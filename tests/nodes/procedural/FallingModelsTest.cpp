#include "nodes/procedural/FallingModels.h"

#include "platform/Debug.h"
#include "tests/nodes/scene/SceneTestNodes.h"

namespace vorn::test {
namespace {

using nodes::GeometryNode_FallingModels;

class FallingModelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        model = graph.create<TestGeometry>("Model", "Test Geometry");
        shower = graph.create<GeometryNode_FallingModels>("Shower", "FallingModel");
        ASSERT_NE(shower, nullptr);
        graph.connect("Model", "Shower", 0);
    }
    SceneGraph graph;
    TestGeometry* model = nullptr;
    GeometryNode_FallingModels* shower = nullptr;
};

TEST_F(FallingModelsTest, ScattersInstancesFromSeed5000AndKeepsThemUntilCountOrSpeedChanges) {
    model->add("rock", 10);
    shower->count = "2";
    graph.evaluateAt(*shower);
    // Draws of srand(5000): 16366 10231 16527 27677, then 4895 17414 5820 10439.
    struct Expected {
        float spare, timeShift, z, x;
    };
    const Expected expected[] = {{0.366f, 0.0231f * 10, 0.473f, -0.677f}, {0.895f, 0.7414f * 10, -0.82f, 0.561f}};
    ASSERT_EQ(shower->instances().size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const nodes::FallingInstance& instance = shower->instances()[i];
        EXPECT_NEAR(instance.spare, expected[i].spare, 1e-6f);
        EXPECT_NEAR(instance.timeShift, expected[i].timeShift, 1e-5f);
        EXPECT_NEAR(instance.z, expected[i].z, 1e-6f);
        EXPECT_NEAR(instance.x, expected[i].x, 1e-6f);
        EXPECT_EQ(instance.y, 0.0f);
    }

    // "Time Alive" alone keeps the shifts; a new "Speed" text (same number) draws again.
    shower->timeAlive = 5.0f;
    graph.evaluateAt(*shower);
    EXPECT_NEAR(shower->instances()[0].timeShift, 0.231f, 1e-5f);
    shower->speed = "1";
    graph.evaluateAt(*shower);
    EXPECT_NEAR(shower->instances()[0].timeShift, 0.1155f, 1e-5f);
}

TEST_F(FallingModelsTest, CountTextsAreReadAsTheRuntimeReadsThemAndHeldAtOneHundredThousand) {
    model->add("rock", 10);
    struct Case {
        const char* count;
        std::size_t instances;
        bool held;
    };
    const Case cases[] = {
        {"99999999999999999999", 100000, true},
        {"32", 32, false},         {"0", 0, false},          {"abc", 0, false},
        {"-5", 0, false},          {"12 rocks", 12, false},  {"200000", 100000, true},
    };
    for (const Case& c : cases) {
        shower->count = c.count;
        platform::DebugCapture log;
        graph.evaluateAt(*shower);
        graph.evaluateAt(*shower, 1.0f);
        EXPECT_EQ(shower->instances().size(), c.instances) << c.count;
        EXPECT_EQ(shower->objects.size(), c.instances) << c.count;
        // One line for the held count, not one per frame.
        EXPECT_EQ(std::count(log.text().begin(), log.text().end(), '\n'), c.held ? 1 : 0) << c.count;
    }
}

TEST_F(FallingModelsTest, EachCopyFallsAndGrowsFromItsShiftAroundTheModelsPlacement) {
    model->add("rock", 10).matrix = render::scaleMatrix(3, 3, 3);
    model->objects[0].material = &graph.create<TestMaterial>("Mat", "Test Material")->record;
    model->add("pebble", 20);
    model->modelMatrix = render::translationMatrix(0, 0, 5);
    shower->count = "1";
    shower->speed = "2";
    // Instance 0: x = -0.677, z = 0.473, shift 0.231.
    struct Case {
        float timeOffset;
        render::Vec3 expected;  // where (1, 0, 0) of the model lands
    };
    const Case cases[] = {
        // base = 2·1 + 0.231 - 1.731 = 0.5: fallen 0.25, a quarter of the size.
        // (1, 0, 0) shrinks to (0.25, 0, 0), moves with the model to z = 5, is
        // scaled by the object's 3 and lands around the instance's place.
        {1.731f, {-6.77f + 0.25f * 3, -0.25f, 4.73f + 15}},
        // base = 2: fallen 4, full size.
        {0.231f, {-6.77f + 3, -4.0f, 4.73f + 15}},
        // base = 12.231 wraps at "Time Alive" 10 to 2.231.
        {-10.0f, {-6.77f + 3, -2.231f * 2.231f, 4.73f + 15}},
    };
    for (const Case& c : cases) {
        shower->timeOffset = c.timeOffset;
        graph.evaluateAt(*shower, 1.0f);
        ASSERT_EQ(shower->objects.size(), 1u);
        expectPoint(transformed(shower->objects[0].matrix, {1, 0, 0}), c.expected, 1e-4f);
    }
    const nodes::MeshObject& copy = shower->objects[0];
    EXPECT_EQ(copy.vertexArray, 10u);
    EXPECT_EQ(copy.name, "rock");
    EXPECT_EQ(copy.material, model->objects[0].material);
    EXPECT_EQ(shower->material, nullptr);

    graph.engine.deleteNode("Model");
    graph.evaluateAt(*shower);
    ASSERT_EQ(shower->objects.size(), 1u);
    EXPECT_EQ(shower->objects[0].vertexArray, 0u);
    EXPECT_EQ(shower->objects[0].indexCount, 0u);
}

}  // namespace
}  // namespace vorn::test
