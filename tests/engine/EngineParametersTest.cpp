#include <gtest/gtest.h>

#include "engine/Engine.h"
#include "tests/engine/TestNodes.h"

namespace vorn::engine {
namespace {

TEST(EngineParametersTest, RegistrationWritesDefaultsAndKeepsOrder) {
    Engine engine;
    test::TestImageNode node(engine, "Glow 1");
    EXPECT_FLOAT_EQ(node.amount, 1.0f);
    EXPECT_FLOAT_EQ(node.offset[1], 0.5f);
    EXPECT_FLOAT_EQ(node.color[2], 0.25f);
    EXPECT_EQ(node.file, "none.png");
    EXPECT_EQ(node.mode, 1);
    EXPECT_TRUE(node.enabled);
    EXPECT_FLOAT_EQ(node.scale[2], 1.0f);

    const ParameterList& list = engine.parametersOf(node);
    std::vector<std::string> names;
    for (const auto& record : list) names.push_back(record->name);
    EXPECT_EQ(names, (std::vector<std::string>{"Amount", "Offset", "Color", "File", "Mode", "Enabled",
                                               "Translate.X", "Translate.Y", "Translate.Z", "Scale.X", "Scale.Y",
                                               "Scale.Z"}));
    for (const auto& record : list) {
        EXPECT_EQ(record->owner, &engine);
        EXPECT_EQ(record->nodeName, "Glow 1");
    }
}

TEST(EngineParametersTest, RecordsCarryTheirSettingsAndTypeCodes) {
    Engine engine;
    test::TestImageNode node(engine, "n");
    const ParameterList& list = engine.parametersOf(node);
    std::vector<uint32_t> codes;
    for (const auto& record : list) codes.push_back(uint32_t(record->type()));
    EXPECT_EQ(codes, (std::vector<uint32_t>{2, 3, 4, 5, 1, 0, 2, 2, 2, 2, 2, 2}));

    const auto& amount = static_cast<const ValueFloat&>(*list[0]);
    EXPECT_EQ(amount.target, &node.amount);
    EXPECT_FLOAT_EQ(amount.minimum, 0.0f);
    EXPECT_FLOAT_EQ(amount.maximum, 10.0f);
    EXPECT_EQ(amount.decimals, 2);
    EXPECT_TRUE(amount.clamp);

    const auto& scaleY = static_cast<const ValueFloat&>(*list[10]);
    EXPECT_EQ(scaleY.target, &node.scale[1]);
    EXPECT_FLOAT_EQ(scaleY.maximum, 5.0f);
    EXPECT_EQ(scaleY.decimals, 5);
    EXPECT_TRUE(scaleY.clamp);  // always clamped, whatever the caller would pass

    const auto& mode = static_cast<const ValueInt&>(*list[4]);
    EXPECT_EQ(mode.choices, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(static_cast<const ValueString&>(*list[3]).defaultValue, "none.png");

    test::TestGeometryNode geometry(engine, "g");
    EXPECT_FALSE(static_cast<const ValueFloat&>(*engine.parametersOf(geometry)[0]).clamp);
}

}  // namespace
}  // namespace vorn::engine
