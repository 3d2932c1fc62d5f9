// The layout file's bytes, written out by hand: both versions, damage of
// every kind, and the writer giving back what the reader took.
#include "ui/editor/GuiFile.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vorn::test {
namespace {

using Bytes = std::vector<uint8_t>;
using ui::editor::readGuiFile;

Bytes i32(int32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(uint32_t(v) >> 24)}; }
Bytes f32(float v) {
    int32_t bits;
    std::memcpy(&bits, &v, 4);
    return i32(bits);
}
Bytes text(const std::string& t) { return Bytes(t.c_str(), t.c_str() + t.size() + 1); }
Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Two boxes, "Cam" at (10, 20) and "Pic" at (200.5, -4), Cam known as "camera"
// (version 2 only), and Pic's flag cleared.
Bytes twoBoxes(int32_t version) {
    Bytes b = i32(version) + i32(2) + text("Cam") + f32(10) + f32(20) + text("Pic") + f32(200.5f) + f32(-4);
    if (version >= 2) b = b + text("Cam") + text("camera") + text("Pic") + text("Pic");
    return b + i32(2) + text("Cam") + Bytes{1} + text("Pic") + Bytes{0};
}

TEST(GuiFile, BothVersionsPlaceTheBoxesAndOnlyTheSecondHasAliases) {
    for (int32_t version : {1, 2}) {
        ui::editor::GuiReadResult read = readGuiFile(twoBoxes(version));
        ASSERT_TRUE(read.complete) << read.problem;
        ASSERT_EQ(read.layout.positions.size(), 2u);
        EXPECT_EQ(read.layout.positions[1].name, "Pic");
        EXPECT_EQ(std::pair(read.layout.positions[1].x, read.layout.positions[1].y), std::pair(200.5f, -4.0f));
        ASSERT_EQ(read.layout.aliases.size(), version == 2 ? 2u : 0u);
        if (version == 2) {
            EXPECT_EQ(read.layout.aliases[0].alias, "camera");
        }
        ASSERT_EQ(read.layout.boxes.size(), 2u);
        EXPECT_EQ(read.layout.boxes[1].flag, 0);
        EXPECT_EQ(ui::editor::writeGuiFile(read.layout), twoBoxes(version)) << version;
    }
}

TEST(GuiFile, DamagedFilesKeepWhatCameBeforeTheDamage) {
    const Bytes whole = twoBoxes(2);
    struct Case {
        const char* what;
        Bytes bytes;
        std::size_t positions, aliases, boxes;
    };
    const Case cases[] = {
        {"empty", {}, 0, 0, 0},
        {"cut inside the second position", Bytes(whole.begin(), whole.begin() + 20), 1, 0, 0},
        {"cut inside the flags", Bytes(whole.begin(), whole.end() - 2), 2, 2, 1},
        {"a count of two billion in a short file", i32(2) + i32(2000000000) + text("Cam") + f32(1) + f32(2), 1, 0, 0},
        {"a negative count", i32(2) + i32(-3), 0, 0, 0},
        {"a name without its end", i32(2) + i32(1) + Bytes{'C', 'a', 'm'}, 0, 0, 0},
        {"a flag count beyond the file", i32(1) + i32(0) + i32(900000000) + text("A") + Bytes{1}, 0, 0, 1},
        {"bytes after the last flag", whole + Bytes{7}, 2, 2, 2},
    };
    for (const Case& c : cases) {
        ui::editor::GuiReadResult read = readGuiFile(c.bytes);
        EXPECT_FALSE(read.complete) << c.what;
        EXPECT_FALSE(read.problem.empty()) << c.what;
        EXPECT_EQ(read.layout.positions.size(), c.positions) << c.what;
        EXPECT_EQ(read.layout.aliases.size(), c.aliases) << c.what;
        EXPECT_EQ(read.layout.boxes.size(), c.boxes) << c.what;
    }
}

}  // namespace
}  // namespace vorn::test
