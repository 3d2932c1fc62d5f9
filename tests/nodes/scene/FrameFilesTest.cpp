#include "nodes/scene/AnimationKeys.h"
#include "nodes/scene/CameraFrames.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

using namespace nodes;

using Vec = std::array<float, 3>;

std::vector<int32_t> framesOf(const AnimationKeys& read) {
    std::vector<int32_t> frames;
    for (const AnimationKey& key : read.keys) frames.push_back(key.frame);
    return frames;
}

void expectNear(const Vec& actual, const Vec& expected) {
    for (int a = 0; a < 3; ++a) EXPECT_NEAR(actual[a], expected[a], 1e-4f) << "component " << a;
}

TEST(FrameFiles, KeysTakeTheirFrameNumbersAndFillGapsTowardsTheLine) {
    struct Case {
        std::string text;
        std::vector<int32_t> frames;
    };
    const Case cases[] = {
        {"0 0 0 0 0 0 0 0 0 0 0\n1 0 0 0 0 0 0 0 0 0 0\n2 0 0 0 0 0 0 0 0 0 0\n3 0 0 0 0 0 0 0 0 0 0\n", {0, 1, 2, 3}},
        {"0 0 0 0 0 0 0 0 0 0 0\n3 3 0 0 0 0 0 0 0 0 0\n", {0, 3, 3, 3}},
        // Any first number; then 0 or less appends, below the count drops.
        {"5 0 0 0 0 0 0 0 0 0 0\n-2 0 0 0 0 0 0 0 0 0 0\n0 0 0 0 0 0 0 0 0 0 0\n2 0 0 0 0 0 0 0 0 0 0\n", {5, -2, 0}},
        {"1 0 0 0 0 0 0 0 0 0 0\n2 0 0 0 0 0 0 0 0 0 0\n1 0 0 0 0 0 0 0 0 0 0\n", {1, 2}},
        {"1 0 0 0 0 0 0 0 0 0 0\n200000 0 0 0 0 0 0 0 0 0 0\n", {1}},  // too far ahead
    };
    for (const Case& c : cases) EXPECT_EQ(framesOf(readAnimationKeys(c.text, "k.txt", nullptr)), c.frames) << c.text;

    // Thirds from the first key's position to the line's; (x, y, z) read become (x, -z, -y).
    AnimationKeys thirds = readAnimationKeys(cases[1].text, "k.txt", nullptr);
    expectNear(thirds.keys[1].position, {1, 0, 0});
    expectNear(thirds.keys[2].position, {2, 0, 0});
    expectNear(thirds.keys[3].position, {3, 0, 0});
    AnimationKeys axes = readAnimationKeys("0 1 2 3 0 0 0 0 0 0 0\n", "k.txt", nullptr);
    expectNear(axes.keys[0].position, {1, -3, -2});
}

TEST(FrameFiles, FieldsMayBeSeparatedByAnyOneCharacterAndBadLinesAreReportedOnce) {
    std::string echo;
    AnimationKeys read = readAnimationKeys(
        "0,1.5,2,3,4,5,6,7,8,9,10\r\n\n1 1 2\n1 1 2 3 4 5 6 7 8 9 10 11\n1;  -1e1 +2 3 4 5 6 7 8 9 10;\n"
        "4 0 0 0 0 0 0 0 0 0 0\n999999 0 0 0 0 0 0 0 0 0 0\n",
        "keys.txt", [&](std::string_view line) { echo += line; });
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
    // ((c7 - pi/2), -c9, -c8) in degrees.
    CameraFrames read = readCameraFrames("1 1 2 3 4 5 6 1.5707964 0.5 -1 9\n"
                                         "4 4 5 9 0 0 0 0 0 0 0\n"  // a gap of two frames
                                         "4 0 0 0 0 0 0 0 0 0 0\n"  // at or below the count: dropped
                                         "0 0 0 0 0 0 0 0 0 0 0\n",
                                         "cam.txt");
    ASSERT_EQ(read.frames.size(), 5u);
    const CameraFrame& first = read.frames[0];
    expectNear(first.position, {-1, 3, 2});
    expectNear(first.further, {4, 5, 6});
    expectNear(first.angles, {0, 57.295776f, -28.647888f});
    // Three frames up to the line's, a third of the way each, all with its angles.
    expectNear(read.frames[1].position, {-2, 5, 3});
    expectNear(read.frames[2].position, {-3, 7, 4});
    expectNear(read.frames[3].position, {-4, 9, 5});
    expectNear(read.frames[2].angles, {-90, 0, 0});
    expectNear(read.frames[4].position, {0, 0, 0});
    EXPECT_TRUE(read.diagnostics.empty());
}

}  // namespace
}  // namespace vorn::test
