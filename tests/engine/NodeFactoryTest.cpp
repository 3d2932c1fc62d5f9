#include "engine/NodeFactory.h"

#include <gtest/gtest.h>

#include "engine/Engine.h"
#include "tests/engine/TestNodes.h"

namespace vorn::engine {
namespace {

TEST(NodeFactoryTest, TheMenuListsTwentyTwoBuiltinTypesInOrder) {
    std::vector<std::string> offered;
    for (const BuiltinNodeType& type : builtinNodeTypes())
        if (type.offered) offered.push_back(type.typeName);
    EXPECT_EQ(offered,
              (std::vector<std::string>{"Viewer", "2D_ImgReader", "2D_Transform", "3D_ObjReader",
                                        "3D_TransformFromCamera", "Camera_Hover", "Camera_Blender", "PBR_Material",
                                        "PBR_FixMaterial", "PBR_AutoMaterial", "Render_PowerIlo", "3D_Primitive",
                                        "MotionBlur", "Time Switch Image", "Time Switch Camera", "Combine Geometry",
                                        "Random Dots", "Randomize Material", "Glow", "Sequencer", "Compose",
                                        "Render_Flake"}));
}

TEST(NodeFactoryTest, CreateBuildsOnlyAttachedClasses) {
    Engine engine;
    NodeFactory factory;
    EXPECT_EQ(factory.create(engine, "Glow", "g"), nullptr);
    EXPECT_TRUE(factory.add("Glow", constructs<test::TestImageNode>()));
    auto node = factory.create(engine, "Glow", "Glow 1");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->name, "Glow 1");
    EXPECT_EQ(node->owner, &engine);
    EXPECT_FALSE(factory.add("Random Dots", constructs<test::TestImageNode>()));
    EXPECT_FALSE(factory.has("Random Dots"));
    EXPECT_TRUE(isBuiltinTypeName("ShaderToy"));  // creatable by a project though not offered
    EXPECT_FALSE(isBuiltinTypeName("shadertoy"));  // names compare exactly
}

}  // namespace
}  // namespace vorn::engine
