#include "nodes/procedural/FallingModels.h"

#include "platform/Debug.h"
#include "tests/nodes/scene/SceneTestNodes.h"

namespace vorn::test {
namespace {

class FallingModelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        model = graph.create<TestGeometry>("Model", "Test Geometry");
        model->add("rock", 10);
        shower = graph.create<nodes::GeometryNode_FallingModels>("Shower", "FallingModel");
        graph.connect("Model", "Shower", 0);
    }
    SceneGraph graph;
    TestGeometry* model = nullptr;
    nodes::GeometryNode_FallingModels* shower = nullptr;
};

TEST_F(FallingModelsTest, ScattersInstancesFromSeed5000UntilCountOrSpeedChanges) {
    shower->count = "2";
    graph.evaluateAt(*shower);
    // Draws of srand(5000): 16366 10231 16527 27677, then 4895 17414 5820 10439.
    const float expected[2][4] = {{0.366f, 0.231f, 0.473f, -0.677f}, {0.895f, 7.414f, -0.82f, 0.561f}};
    ASSERT_EQ(shower->instances().size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const nodes::FallingInstance& instance = shower->instances()[i];
        const float actual[4] = {instance.spare, instance.timeShift, instance.z, instance.x};
        for (int k = 0; k < 4; ++k) EXPECT_NEAR(actual[k], expected[i][k], 1e-5f) << i << ", " << k;
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
    const struct {
        const char* count;
        std::size_t instances;
        int lines;  // one diagnostic for a held count, not one per frame
    } cases[] = {{"99999999999999999999", 100000, 1}, {"32", 32, 0},        {"0", 0, 0},
                 {"abc", 0, 0},                       {"12 rocks", 12, 0}, {"-5", 0, 0},
                 {"200000", 100000, 1}};
    for (const auto& c : cases) {
        shower->count = c.count;
        platform::DebugCapture log;
        graph.evaluateAt(*shower);
        graph.evaluateAt(*shower, 1.0f);
        EXPECT_EQ(shower->objects.size(), c.instances) << c.count;
        EXPECT_EQ(std::count(log.text().begin(), log.text().end(), '\n'), c.lines) << c.count;
    }
}

TEST_F(FallingModelsTest, EachCopyFallsAndGrowsFromItsShiftAroundTheModelsPlacement) {
    model->objects[0].matrix = render::scaleMatrix(3, 3, 3);
    model->objects[0].material = &graph.create<TestMaterial>("Mat", "Test Material")->record;
    model->add("pebble", 20);  // only the first object falls
    model->modelMatrix = render::translationMatrix(0, 0, 5);
    shower->count = "1";
    shower->speed = "2";
    // Instance 0 lies at x = -0.677, z = 0.473 with the shift 0.231. At t = 1:
    const struct {
        float timeOffset;
        render::Vec3 expected;  // where (1, 0, 0) of the model lands
    } cases[] = {
        // base = 2 + 0.231 - 1.731 = 0.5: fallen 0.25 at a quarter of the size. (1, 0, 0)
        // shrinks to (0.25, 0, 0), moves with the model to z = 5, is scaled by the object's 3.
        {1.731f, {-6.77f + 0.75f, -0.25f, 4.73f + 15}},
        {0.231f, {-6.77f + 3, -4.0f, 4.73f + 15}},                  // base 2: full size, fallen 4
        {-10.0f, {-6.77f + 3, -2.231f * 2.231f, 4.73f + 15}},       // base 12.231 wraps at 10 to 2.231
    };
    for (const auto& c : cases) {
        shower->timeOffset = c.timeOffset;
        graph.evaluateAt(*shower, 1.0f);
        ASSERT_EQ(shower->objects.size(), 1u);
        expectMaps(shower->objects[0].matrix, {1, 0, 0}, c.expected, 1e-4f);
    }
    EXPECT_EQ(shower->objects[0].vertexArray, 10u);
    EXPECT_EQ(shower->objects[0].material, model->objects[0].material);
    EXPECT_EQ(shower->material, nullptr);

    graph.engine.deleteNode("Model");
    graph.evaluateAt(*shower);
    ASSERT_EQ(shower->objects.size(), 1u);
    EXPECT_EQ(shower->objects[0].vertexArray, 0u);
}

}  // namespace
}  // namespace vorn::test
