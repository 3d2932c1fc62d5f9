// For tests that look at the player's screen: quadrant pictures, screen pixels
// from the top-left corner, and a small production saved as a project file.
#pragma once

#include "engine/Engine.h"
#include "nodes/image/Reader.h"
#include "nodes/image/Transform2D.h"
#include "platform/ImageEncoder.h"
#include "platform/Paths.h"
#include "tests/support/GlFixture.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorkingDirectory.h"
#include "ui/NodeTypes.h"
#include "ui/Player.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vorn::test {

inline constexpr Rgba kRed{255, 0, 0, 255};
inline constexpr Rgba kGreen{0, 255, 0, 255};
inline constexpr Rgba kBlue{0, 0, 255, 255};
inline constexpr Rgba kWhite{255, 255, 255, 255};
inline constexpr Rgba kBlack{0, 0, 0, 255};
// The quadrant picture's colours: top-left, top-right, bottom-left, bottom-right.
inline constexpr std::array<Rgba, 4> kQuadrants{kRed, kGreen, kBlue, kWhite};

inline void writePicture(const std::string& path, int w, int h, int channels, const std::vector<uint8_t>& pixels) {
    ASSERT_TRUE(platform::writePngFile(path, w, h, channels, pixels.data())) << path;
}

// A w x h RGB picture in the kQuadrants colours, top row first.
inline void writeQuadrantPicture(const std::string& path, int w, int h) {
    std::vector<uint8_t> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgba c = kQuadrants[std::size_t((y >= h / 2) * 2 + (x >= w / 2))];
            pixels.insert(pixels.end(), {c.r, c.g, c.b});
        }
    writePicture(path, w, h, 3, pixels);
}

// The colour shown at (x, y) from the top-left corner of the bound read
// framebuffer, with alpha 255: the screen does not show it.
inline Rgba screenPixel(int x, int y) {
    Rgba pixel = readPixel(x, 1079 - y);
    pixel.a = 255;
    return pixel;
}

// The centres of the screen's quarters, in the order of kQuadrants.
inline std::array<Rgba, 4> screenQuarters() {
    return {screenPixel(480, 270), screenPixel(1440, 270), screenPixel(480, 810), screenPixel(1440, 810)};
}

// "Viewer 1" <- "Move" (2D_Transform) <- "Picture" (2D_ImgReader in STRETCH
// mode reading pictureFile). With moving, Move's Position.x is keyed linearly
// from 0.5 at 0 s to 1.0 at 1 s: at time t the picture is shifted right by
// t x 960 pixels (and holds 960 from 1 s on). Needs a GL context.
inline bool saveShowProject(const std::string& path, const std::string& pictureFile, bool moving) {
    engine::Engine engine;
    ui::attachNodeClasses(engine.factory);
    engine.initialise();
    if (!engine.createNode("Picture", "2D_ImgReader") || !engine.createNode("Move", "2D_Transform") ||
        !engine.createNode("Viewer 1", "Viewer") || !engine.connect("Picture", "Move", 0) ||
        !engine.connect("Move", "Viewer 1", 0))
        return false;
    auto& reader = dynamic_cast<nodes::ImageNode_Reader&>(*engine.findNode("Picture"));
    reader.filename = pictureFile;
    reader.scaleMode = nodes::ImageNode_Reader::Stretch;
    if (moving) {
        auto& move = dynamic_cast<nodes::ImageNode_Transform2D&>(*engine.findNode("Move"));
        engine.time = 0.0f;
        move.position[0] = 0.5f;
        engine.addKeyframe("Move", "Position");
        engine.time = 1.0f;
        move.position[0] = 1.0f;
        engine.setKeyAtCurrentTime("Move", "Position");
    }
    return engine.saveProject(path);
}

// A player without music in a fresh working folder; show() renders one
// player frame and leaves the window's back buffer bound for reading.
class PlayerOnScreen : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        player_ = std::make_unique<ui::Player>(nullptr);
    }
    void TearDown() override {
        player_.reset();
        GlTest::TearDown();
    }
    void show() {
        player_->renderFrame();
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

    WorkingDirectory folder_;
    std::unique_ptr<ui::Player> player_;
};

}  // namespace vorn::test
