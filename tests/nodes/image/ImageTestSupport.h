// Helpers for the image-node tests: a player in a fresh working folder, a test
// node that shows exact float texels, and float read-back of a node's target.
#pragma once

#include "engine/Engine.h"
#include "nodes/image/ImageNode.h"
#include "nodes/image/Shader.h"
#include "render/GL_FrameBuffer.h"
#include "tests/render/ReadBack.h"
#include "tests/ui/ShowSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace vorn::test {

using Colour = std::array<float, 4>;

inline ::testing::AssertionResult closeTo(const Colour& actual, const Colour& expected, float tolerance = 2e-3f) {
    for (std::size_t i = 0; i < 4; ++i)
        if (!(std::abs(actual[i] - expected[i]) <= tolerance))
            return ::testing::AssertionFailure() << ::testing::PrintToString(actual) << " is not near "
                                                 << ::testing::PrintToString(expected);
    return ::testing::AssertionSuccess();
}

// A float RGBA texture of w x h texels (bottom row first), nearest filtering.
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

inline std::unique_ptr<TestPicture> solidPicture(const Colour& colour) {
    return std::make_unique<TestPicture>(1, 1, std::vector<Colour>{colour});
}
// Quarters: s below or above 0.5, t below or above 0.5.
inline std::unique_ptr<TestPicture> quarterPicture(Colour lowSLowT, Colour highSLowT, Colour lowSHighT, Colour highSHighT) {
    return std::make_unique<TestPicture>(2, 2, std::vector<Colour>{lowSLowT, highSLowT, lowSHighT, highSHighT});
}
// 1920 x 1 texels, column x of colour(x).
inline std::unique_ptr<TestPicture> columnPicture(const std::function<Colour(int)>& colour) {
    std::vector<Colour> texels;
    for (int x = 0; x < 1920; ++x) texels.push_back(colour(x));
    return std::make_unique<TestPicture>(1920, 1, texels);
}

// Shows test pictures. With colourAt set, every processing shows that
// colour for the engine time; each records the times it was processed at.
class Picture : public nodes::ImageNode {
public:
    Picture(engine::Engine& owner, std::string name) : ImageNode(owner, std::move(name)) {
        setInputCount(1);
        owner.addFloat(*this, "Level", &level, -1000.0f, 1000.0f, 4, 0.0f, true);
    }
    bool acceptsInput(int32_t, const engine::Node& source) const override { return nodes::isImageNode(&source); }
    bool process() override {
        times.push_back(owner->time);
        if (colourAt && owner->drawingEnabled == 1) show(0, solidPicture(colourAt(owner->time)));
        return processResult;
    }
    void show(int slot, std::unique_ptr<TestPicture> picture) {
        owned[std::size_t(slot)] = std::move(picture);
        images[std::size_t(slot)] = owned[std::size_t(slot)].get();
    }
    std::function<Colour(float time)> colourAt;
    float level = 0.0f;  // a parameter to key
    bool processResult = true;
    std::vector<float> times;
    std::array<std::unique_ptr<TestPicture>, kSlotCount> owned;
};

// Pixel (x, y), from the bottom-left corner, of the target a node renders into.
inline Colour pixelOf(const nodes::ImageNode& node, int x, int y) {
    auto* target = dynamic_cast<const render::GL_FrameBuffer*>(node.images[0]);
    EXPECT_NE(target, nullptr) << node.name;
    if (!target) return {-1, -1, -1, -1};
    std::vector<float> texel = readAttachmentFloat(target->framebuffer, 0, x, y, 1, 1);
    return {texel[0], texel[1], texel[2], texel[3]};
}

// The player's engine with "Test Picture" as an extra node type.
class ImageGraph : public PlayerOnScreen {
protected:
    void SetUp() override {
        PlayerOnScreen::SetUp();
        engine().factory.add("Test Picture", engine::constructs<Picture>());
    }
    engine::Engine& engine() { return player_->engine(); }
    template <class T>
    T* create(const std::string& name, const std::string& type) {
        EXPECT_TRUE(engine().createNode(name, type)) << type;
        return dynamic_cast<T*>(engine().findNode(name));
    }
    Picture* picture(const std::string& name, std::unique_ptr<TestPicture> main) {
        Picture* node = create<Picture>(name, "Test Picture");
        node->show(0, std::move(main));
        return node;
    }
    nodes::ImageNode_Shader* shader(const std::string& name, const std::string& descriptionText) {
        nodes::ShaderDescription description;
        nodes::parseShaderDescriptionText(descriptionText, description);
        auto node = std::make_unique<nodes::ImageNode_Shader>(engine(), name, description);
        nodes::ImageNode_Shader* added = node.get();
        EXPECT_TRUE(engine().addNode(name, std::move(node)));
        return added;
    }
    static nodes::ShaderParam& param(nodes::ImageNode_Shader& node, const std::string& name) {
        for (nodes::ShaderParam& p : node.description.parameters)
            if (p.name == name) return p;
        throw std::invalid_argument("no parameter " + name);
    }
    void connect(const std::string& source, const std::string& target, int input) {
        ASSERT_TRUE(engine().connect(source, target, input)) << source << " -> " << target;
    }
    // One frame of the player at engine time t, ending with the screen bound for reading.
    void showAt(float t) {
        engine().time = t;
        show();
    }
    // node's evaluate at engine time t, as the first node of a fresh frame.
    bool evaluateAt(engine::Node& node, float t = 1.0f) {
        engine().time = t;
        for (auto& [name, each] : engine().nodesByName) each->evaluated = false;
        return node.evaluate();
    }
};

// The quadrant picture (ShowSupport.h) shown upright over w x h screen pixels
// from (x, y), counted from the top-left corner: each quarter's centre.
inline void expectQuadrantsShown(int x, int y, int w, int h) {
    EXPECT_EQ(screenPixel(x + w / 4, y + h / 4), kRed);
    EXPECT_EQ(screenPixel(x + 3 * w / 4, y + h / 4), kGreen);
    EXPECT_EQ(screenPixel(x + w / 4, y + 3 * h / 4), kBlue);
    EXPECT_EQ(screenPixel(x + 3 * w / 4, y + 3 * h / 4), kWhite);
}

}  // namespace vorn::test
