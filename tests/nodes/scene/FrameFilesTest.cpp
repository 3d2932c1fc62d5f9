// The key-file and camera-path readers: frame numbers, gaps, axes and damage.
#include "nodes/scene/AnimationKeys.h"
#include "nodes/scene/CameraFrames.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

using namespace nodes;

// A line of frame n whose first number is x and the other nine 0.
std::string line(int n, int x = 0) { return std::to_string(n) + " " + std::to_string(x) + " 0 0 0 0 0 0 0 0 0\n"; }

std::vector<int32_t> framesOf(const AnimationKeys& read) {
    std::vector<int32_t> frames;
    for (const AnimationKey& key : read.keys) frames.push_back(key.frame);
    return frames;
}

void expectNear(const std::array<float, 3>& actual, const std::array<float, 3>& expected) {
    for (int a = 0; a < 3; ++a) EXPECT_NEAR(actual[a], expected[a], 1e-4f) << "component " << a;
}

TEST(FrameFiles, KeysTakeTheirFrameNumbersAndFillGapsTowardsTheLine) {
    const std::pair<std::string, std::vector<int32_t>> cases[] = {
        {line(0) + line(1) + line(2) + line(3), {0, 1, 2, 3}},
        {line(0) + line(3, 3), {0, 3, 3, 3}},
        // Any first number; then 0 or less appends, below the count drops.
        {line(5) + line(-2) + line(0) + line(2), {5, -2, 0}},
        {line(1) + line(2) + line(1), {1, 2}},
        {line(1) + line(200000), {1}},  // too far ahead
    };
    for (const auto& [text, frames] : cases)
        EXPECT_EQ(framesOf(readAnimationKeys(text, "k.txt", nullptr)), frames) << text;
    // Thirds from the first key's position to the line's; (x, y, z) read become (x, -z, -y).
    AnimationKeys thirds = readAnimationKeys(cases[1].first, "k.txt", nullptr);
    for (int k = 1; k <= 3; ++k) expectNear(thirds.keys[k].position, {float(k), 0, 0});
    expectNear(readAnimationKeys("0 1 2 3 0 0 0 0 0 0 0\n", "k.txt", nullptr).keys[0].position, {1, -3, -2});
}

TEST(FrameFiles, FieldsMayBeSeparatedByAnyOneCharacterAndBadLinesAreReportedOnce) {
    std::string echo;
    AnimationKeys read = readAnimationKeys("0,1.5,2,3,4,5,6,7,8,9,10\r\n\n1 1 2\n1 1 2 3 4 5 6 7 8 9 10 11\n"
                                           "1;  -1e1 +2 3 4 5 6 7 8 9 10;\n" + line(4) + line(999999),
                                           "keys.txt", [&](std::string_view text) { echo += text; });
    EXPECT_EQ(framesOf(read), (std::vector<int32_t>{0, 1, 4, 4, 4}));
    expectNear(read.keys[1].position, {-10, -3, -2});
    EXPECT_EQ(echo, "0: 1.500 2.000 3.000\n1: -10.000 2.000 3.000\n4: 0.000 0.000 0.000\n999999: 0.000 0.000 0.000\n");
    EXPECT_EQ(read.diagnostics,
              (std::vector<std::string>{
                  "keys.txt: 2 lines not of a frame number and ten numbers skipped, the first at line 3",
                  "keys.txt: 1 line whose frame number lies more than 100000 frames ahead, or beyond 1000000 "
                  "frames, skipped, the first at line 7"}));
}

TEST(FrameFiles, CameraFramesTurnToTheSystemsAxesAndDegrees) {
    // n, c1 .. c10: position (-c1, c3, c2), further c4 c5 c6, angles
    // ((c7 - pi/2), -c9, -c8) in degrees; a gap of two frames, then a line at
    // or below the count (dropped).
    CameraFrames read =
        readCameraFrames("1 1 2 3 4 5 6 1.5707964 0.5 -1 9\n4 4 5 9 0 0 0 0 0 0 0\n" + line(4) + line(0), "cam.txt");
    ASSERT_EQ(read.frames.size(), 5u);
    expectNear(read.frames[0].position, {-1, 3, 2});
    expectNear(read.frames[0].further, {4, 5, 6});
    expectNear(read.frames[0].angles, {0, 57.295776f, -28.647888f});
    // Three frames up to the line's, a third of the way each, all with its angles.
    for (int k = 1; k <= 3; ++k) expectNear(read.frames[k].position, {-1.0f - k, 3.0f + 2 * k, 2.0f + k});
    expectNear(read.frames[2].angles, {-90, 0, 0});
    expectNear(read.frames[4].position, {0, 0, 0});
    EXPECT_TRUE(read.diagnostics.empty());
}

}  // namespace
}  // namespace vorn::test
