// Helpers for the shader-node tests: pictures of exact float texels (nearest
// filtering, so a 1920-wide picture gives each output column its own texel),
// an image node that shows them, shader nodes built from description text, and
// float read-back of a node's target.
#pragma once

#include "engine/Engine.h"
#include "nodes/image/EffectLibrary.h"
#include "nodes/image/ImageNode.h"
#include "nodes/image/Shader.h"
#include "nodes/image/ShaderDescription.h"
#include "nodes/image/ShaderNodeTypes.h"
#include "tests/support/GlFixture.h"
#include "tests/support/WorkingDirectory.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vorn::test {

using Colour = std::array<float, 4>;

inline constexpr int kWidth = 1920;
inline constexpr int kHeight = 1080;

// A float RGBA texture, texels in GL order (bottom row first), nearest filtering.
class TestPicture : public render::GL_Image {
public:
    TestPicture(int w, int h, const std::vector<Colour>& texels) {
        width = w;
        height = h;
        textures.assign(1, 0);
        glGenTextures(1, textures.data());
        glBindTexture(GL_TEXTURE_2D, textures[0]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, w, h, 0, GL_RGBA, GL_FLOAT, texels.data());
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    ~TestPicture() override { glDeleteTextures(1, textures.data()); }
};

// One colour everywhere.
inline std::unique_ptr<TestPicture> solidPicture(const Colour& colour) {
    return std::make_unique<TestPicture>(1, 1, std::vector<Colour>{colour});
}

// A 1920 x 1 picture whose column x has colour(x).
inline std::unique_ptr<TestPicture> columnPicture(const std::function<Colour(int)>& colour) {
    std::vector<Colour> texels;
    for (int x = 0; x < kWidth; ++x) texels.push_back(colour(x));
    return std::make_unique<TestPicture>(kWidth, 1, texels);
}

// An image node whose slots show test pictures; it renders nothing.
class PictureNode : public nodes::ImageNode {
public:
    using ImageNode::ImageNode;
    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }
    bool process() override { return true; }
    void show(int slot, std::unique_ptr<TestPicture> picture) {
        owned[std::size_t(slot)] = std::move(picture);
        images[std::size_t(slot)] = owned[std::size_t(slot)].get();
    }
    std::array<std::unique_ptr<TestPicture>, kSlotCount> owned;
};

// The pixel (x, y from the bottom-left) of an image as floats.
inline Colour imagePixel(const render::GL_Image* image, int x, int y) {
    Colour c{-1, -1, -1, -1};
    auto* target = dynamic_cast<const render::GL_FrameBuffer*>(image);
    EXPECT_NE(target, nullptr);
    if (!target) return c;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, target->framebuffer);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_FLOAT, c.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    return c;
}

inline ::testing::AssertionResult closeTo(const Colour& actual, const Colour& expected, float tolerance) {
    for (int i = 0; i < 4; ++i)
        if (!(std::abs(actual[std::size_t(i)] - expected[std::size_t(i)]) <= tolerance))
            return ::testing::AssertionFailure()
                   << "(" << actual[0] << ", " << actual[1] << ", " << actual[2] << ", " << actual[3] << ") vs ("
                   << expected[0] << ", " << expected[1] << ", " << expected[2] << ", " << expected[3] << ")";
    return ::testing::AssertionSuccess();
}

// An engine with the shader node types and the effect library, and ways to
// add nodes to it directly.
class ShaderNodeTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        nodes::registerEffectLibrary();
        nodes::attachShaderNodeTypes(engine.factory);
    }
    void TearDown() override {
        engine.clearScene();
        GlTest::TearDown();
    }

    nodes::ImageNode_Shader* addShader(const std::string& name, const std::string& descriptionText) {
        nodes::ShaderDescription description;
        nodes::parseShaderDescriptionText(descriptionText, description);
        auto node = std::make_unique<nodes::ImageNode_Shader>(engine, name, description);
        auto* shader = node.get();
        EXPECT_TRUE(engine.addNode(name, std::move(node)));
        return shader;
    }

    PictureNode* addPicture(const std::string& name, std::unique_ptr<TestPicture> main) {
        auto node = std::make_unique<PictureNode>(engine, name);
        auto* picture = node.get();
        picture->show(0, std::move(main));
        EXPECT_TRUE(engine.addNode(name, std::move(node)));
        return picture;
    }

    // One frame's evaluation of node and what it reads.
    void runFrame(engine::Node& node) {
        for (auto& [name, each] : engine.nodesByName) each->evaluated = false;
        node.evaluate();
    }

    // The parameter of that name in the node's description.
    static nodes::ShaderParam& param(nodes::ImageNode_Shader& node, const std::string& name) {
        for (nodes::ShaderParam& p : node.description.parameters)
            if (p.name == name) return p;
        ADD_FAILURE() << "no parameter " << name;
        static nodes::ShaderParam none;
        return none;
    }

    engine::Engine engine;
};

}  // namespace vorn::test
