#include "engine/Keyframe.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vorn::engine {
namespace {

float valueAt(const std::vector<Keyframe>& keys, float t, float untouched = -99.0f) {
    float value = untouched;
    evaluateKeys(keys, t, value);
    return value;
}

TEST(KeyframeTest, InterpolationCodesWeightTheSegmentByTheLaterKey) {
    // Key at 1.0 with value 0, key at 2.0 with value 10: at 1.5, u = 0.5.
    auto twoKeys = [](int32_t code) { return std::vector<Keyframe>{{0.0f, 1.0f, Cosine}, {10.0f, 2.0f, code}}; };
    EXPECT_FLOAT_EQ(valueAt(twoKeys(CubicOut), 1.5f), 8.75f);  // 10 * (1 - 0.5^3)
    EXPECT_FLOAT_EQ(valueAt(twoKeys(CubicIn), 1.5f), 1.25f);   // 10 * 0.5^3
    EXPECT_FLOAT_EQ(valueAt(twoKeys(Cosine), 1.5f), 5.0f);     // (1 - cos(pi/2)) / 2
    EXPECT_FLOAT_EQ(valueAt(twoKeys(Linear), 1.25f), 2.5f);
    // Unknown codes behave as Cosine: at u = 0.25, (1 - cos(pi/4)) / 2 = 0.1464466.
    EXPECT_NEAR(valueAt(twoKeys(77), 1.25f), 1.464466f, 1e-5f);
    EXPECT_NEAR(valueAt(twoKeys(-1), 1.25f), 1.464466f, 1e-5f);
}

TEST(KeyframeTest, TheEarlierKeysInterpolationIsNeverUsed) {
    std::vector<Keyframe> keys{{0.0f, 0.0f, CubicIn}, {4.0f, 1.0f, Linear}};
    EXPECT_FLOAT_EQ(valueAt(keys, 0.5f), 2.0f);
}

TEST(KeyframeTest, NoKeysLeaveTheTargetAndOneKeyHoldsEverywhere) {
    EXPECT_FLOAT_EQ(valueAt({}, 3.0f, 42.0f), 42.0f);
    std::vector<Keyframe> one{{7.0f, 2.0f, Linear}};
    EXPECT_FLOAT_EQ(valueAt(one, -5.0f), 7.0f);
    EXPECT_FLOAT_EQ(valueAt(one, 2.0f), 7.0f);
    EXPECT_FLOAT_EQ(valueAt(one, 100.0f), 7.0f);
}

TEST(KeyframeTest, OutsideTheKeysTheNearestEndHolds) {
    std::vector<Keyframe> keys{{1.0f, 1.0f, Linear}, {3.0f, 2.0f, Linear}, {9.0f, 4.0f, Linear}};
    EXPECT_FLOAT_EQ(valueAt(keys, 0.0f), 1.0f);
    EXPECT_FLOAT_EQ(valueAt(keys, 4.0f), 9.0f);   // exactly the last key
    EXPECT_FLOAT_EQ(valueAt(keys, 50.0f), 9.0f);
    EXPECT_FLOAT_EQ(valueAt(keys, 2.0f), 3.0f);   // exactly a middle key: its own value
    EXPECT_FLOAT_EQ(valueAt(keys, 3.0f), 6.0f);   // halfway between 3 and 9
}

TEST(KeyframeTest, EqualTimeKeysFormASkippedZeroLengthSegment) {
    std::vector<Keyframe> keys{{0.0f, 0.0f, Linear}, {5.0f, 1.0f, Linear}, {8.0f, 1.0f, Linear},
                               {10.0f, 2.0f, Linear}};
    EXPECT_FLOAT_EQ(valueAt(keys, 0.5f), 2.5f);
    EXPECT_FLOAT_EQ(valueAt(keys, 1.0f), 8.0f);  // the segment starting at the second key of time 1
    EXPECT_FLOAT_EQ(valueAt(keys, 1.5f), 9.0f);
    std::vector<Keyframe> same{{3.0f, 1.0f, Linear}, {6.0f, 1.0f, Linear}};
    EXPECT_FLOAT_EQ(valueAt(same, 0.5f), 3.0f);
    EXPECT_FLOAT_EQ(valueAt(same, 1.0f), 6.0f);
}

TEST(KeyframeTest, KeysOutOfOrderUseTheLastSegmentThatContainsTheTime) {
    // Segments: [0,4) from 0 to 4, then [4,1) never matches, then [1,3) from 10 to 30.
    std::vector<Keyframe> keys{{0.0f, 0.0f, Linear}, {4.0f, 4.0f, Linear}, {10.0f, 1.0f, Linear},
                               {30.0f, 3.0f, Linear}};
    EXPECT_FLOAT_EQ(valueAt(keys, 2.0f), 20.0f);  // both [0,4) and [1,3) contain 2; the later wins
    EXPECT_FLOAT_EQ(valueAt(keys, 0.5f), 0.5f);
    EXPECT_FLOAT_EQ(valueAt(keys, 3.5f), 30.0f);  // at or after the last key's time 3
    // A key time that is not a number breaks every segment it touches: nothing is written.
    std::vector<Keyframe> broken{{0.0f, 0.0f, Linear}, {1.0f, std::nanf(""), Linear}, {2.0f, 5.0f, Linear}};
    EXPECT_FLOAT_EQ(valueAt(broken, 3.0f, -1.0f), -1.0f);
}

TEST(KeyframeTest, SetKeyReplacesAtAnExistingTimeAndInsertsInOrder) {
    KeyframeTrack track;
    setKey(track, 2.0f, 20.0f);
    setKey(track, 1.0f, 10.0f);
    setKey(track, 3.0f, 30.0f);
    ASSERT_EQ(track.keys.size(), 3u);
    track.keys[1].interpolation = CubicOut;

    setKey(track, 2.0f, 25.0f);  // replaces the value only
    ASSERT_EQ(track.keys.size(), 3u);
    EXPECT_FLOAT_EQ(track.keys[1].value, 25.0f);
    EXPECT_EQ(track.keys[1].interpolation, CubicOut);

    setKey(track, 2.5f, 27.0f);  // between the second and third
    ASSERT_EQ(track.keys.size(), 4u);
    EXPECT_FLOAT_EQ(track.keys[2].time, 2.5f);
    EXPECT_FLOAT_EQ(track.keys[2].value, 27.0f);
    EXPECT_EQ(track.keys[2].interpolation, Linear);
    float times[4] = {1.0f, 2.0f, 2.5f, 3.0f};
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(track.keys[std::size_t(i)].time, times[i]);
}

}  // namespace
}  // namespace vorn::engine
