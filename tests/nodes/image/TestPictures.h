// Pictures for the image-node tests: a node that paints its own float target
// in colours the test chooses (one colour from the engine time, or one colour
// per quarter of the texture) and records every time it was processed at, and
// a fixture that runs small graphs through the player's whole frame, from the
// engine update to the screen.
#pragma once

#include "engine/Engine.h"
#include "nodes/image/ImageNode.h"
#include "render/GL_FrameBuffer.h"
#include "render/Quads.h"
#include "tests/render/ReadBack.h"
#include "tests/ui/ShowSupport.h"
#include "ui/Player.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vorn::test {

struct Colour {
    float r = 0, g = 0, b = 0, a = 0;
};

// Quarters of the texture: s below or above 0.5, t below or above 0.5 (t = 0
// is the first row of the texture).
struct Quarters {
    Colour lowSLowT, highSLowT, lowSHighT, highSHighT;
};

class Paint : public nodes::ImageNode {
public:
    Paint(engine::Engine& owner, std::string name)
        : ImageNode(owner, std::move(name)),
          target(std::make_unique<render::GL_FrameBuffer>(1920, 1080, 1, 16, GL_RGBA, false, false)) {
        setInputCount(1);
        owner.addFloat(*this, "Level", &level, -1000.0f, 1000.0f, 4, 0.0f, true);
        images[0] = target.get();
    }

    bool acceptsInput(int32_t, const engine::Node& source) const override { return nodes::isImageNode(&source); }

    bool process() override {
        ++processCount;
        times.push_back(owner->time);
        if (owner->drawingEnabled == 1) paint();
        return processResult;
    }

    void paint() {
        glBindFramebuffer(GL_FRAMEBUFFER, target->framebuffer);
        render::SetDrawBuffers(*target);
        if (quarters) {
            glEnable(GL_SCISSOR_TEST);
            fill(0, 0, quarters->lowSLowT);
            fill(960, 0, quarters->highSLowT);
            fill(0, 540, quarters->lowSHighT);
            fill(960, 540, quarters->highSHighT);
            glDisable(GL_SCISSOR_TEST);
        } else {
            Colour c = colourAt(owner->time);
            glClearColor(c.r, c.g, c.b, c.a);
            glClear(GL_COLOR_BUFFER_BIT);
        }
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

    std::function<Colour(float time)> colourAt = [](float) { return Colour{}; };
    std::optional<Quarters> quarters;
    float level = 0.0f;  // a parameter to key
    bool processResult = true;
    int processCount = 0;
    std::vector<float> times;
    std::unique_ptr<render::GL_FrameBuffer> target;

private:
    static void fill(int x, int y, const Colour& c) {
        glScissor(x, y, 960, 540);
        glClearColor(c.r, c.g, c.b, c.a);
        glClear(GL_COLOR_BUFFER_BIT);
    }
};

// Texel (s, t) of slot 0 of an image node that renders into a float target.
inline Colour texelOf(const nodes::ImageNode& node, float s, float t) {
    auto* target = dynamic_cast<render::GL_FrameBuffer*>(node.images[0]);
    if (!target) return {-1, -1, -1, -1};
    int x = int(s * float(target->width));
    int y = int(t * float(target->height));
    std::vector<float> texel = readAttachmentFloat(target->framebuffer, 0, x, y, 1, 1);
    return {texel[0], texel[1], texel[2], texel[3]};
}

inline void expectColour(const Colour& actual, const Colour& expected, float tolerance = 2e-3f) {
    EXPECT_NEAR(actual.r, expected.r, tolerance);
    EXPECT_NEAR(actual.g, expected.g, tolerance);
    EXPECT_NEAR(actual.b, expected.b, tolerance);
    EXPECT_NEAR(actual.a, expected.a, tolerance);
}

// A player in a fresh working folder, with "Test Paint" as an extra node type.
class PlayerGraph : public PlayerOnScreen {
protected:
    void SetUp() override {
        PlayerOnScreen::SetUp();
        engine().factory.add("Test Paint", engine::constructs<Paint>());
    }

    engine::Engine& engine() { return player_->engine(); }

    template <class T>
    T* create(const std::string& name, const std::string& type) {
        EXPECT_TRUE(engine().createNode(name, type)) << type;
        return dynamic_cast<T*>(engine().findNode(name));
    }
    Paint* paint(const std::string& name, Colour colour) {
        Paint* node = create<Paint>(name, "Test Paint");
        node->colourAt = [colour](float) { return colour; };
        return node;
    }
    void connect(const std::string& source, const std::string& target, int input) {
        ASSERT_TRUE(engine().connect(source, target, input)) << source << " -> " << target;
    }

    // One frame of the player at engine time t, ending with the screen bound for reading.
    void showAt(float t) {
        engine().time = t;
        player_->renderFrame();
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

    // node's evaluate at engine time t, as the first node of a fresh frame.
    bool evaluateAt(engine::Node& node, float t) {
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

// 8-bit screen value of a float channel in 0..1.
inline uint8_t screenByte(float value) { return uint8_t(value * 255.0f + 0.5f); }

}  // namespace vorn::test
