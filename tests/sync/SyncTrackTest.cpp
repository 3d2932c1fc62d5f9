#include "sync/SyncTrack.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace vorn::sync {
namespace {

using Keys = std::vector<SyncKey>;

std::vector<int32_t> rowsOf(const SyncTrack& track) {
    std::vector<int32_t> rows;
    for (const SyncKey& key : track.keys) rows.push_back(key.row);
    return rows;
}

TEST(SyncTrackTest, ValuesFollowTheEarlierKeysKindAndHoldOutsideTheKeys) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // From 2 to 6 over rows 10..14; row 11 is a quarter of the way (t = 0.25).
    auto ramp = [](uint8_t kind) { return Keys{{10, 2.0f, kind}, {14, 6.0f, Step}}; };
    struct Case {
        Keys keys;
        double row, expected;
    };
    const Case cases[] = {
        {{}, 17.5, 0.0},
        {{{40, 2.5f, Linear}}, -1000.0, 2.5},
        {{{40, 2.5f, Linear}}, 1e7, 2.5},
        {ramp(Step), 13.99, 2.0},
        {ramp(Linear), 11.0, 3.0},       // 2 + 4 x 0.25
        {ramp(Smooth), 11.0, 2.625},     // 2 + 4 x 0.0625 x 2.5
        {ramp(Quadratic), 11.0, 2.25},   // 2 + 4 x 0.0625
        {ramp(Linear), 10.5, 2.5},       // a fraction inside the key's own row
        {ramp(Smooth), 12.0, 4.0},       // half way is symmetric
        {ramp(7), 11.0, 0.0},            // a kind the tracker never sends
        {ramp(Smooth), 14.0, 6.0},       // exactly at a key, whatever its kind
        {ramp(Linear), 9.99, 2.0},
        {ramp(Linear), 5000.0, 6.0},
        {{{-2, 0.0f, Linear}, {2, 4.0f, Linear}}, -1.5, 0.5},  // floor(-1.5) = -2: t = 0.5 / 4
        {ramp(Linear), 1e300, 6.0},
        {ramp(Linear), -1e300, 2.0},
        {ramp(Linear), nan, 2.0},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SyncTrack track;
        track.keys = cases[i].keys;
        EXPECT_DOUBLE_EQ(getValue(track, cases[i].row), cases[i].expected) << "case " << i;
    }
}

TEST(SyncTrackTest, KeysStaySortedWithOneKeyPerRow) {
    SyncTrack track;
    for (SyncKey key : Keys{{10, 1.0f, Linear}, {5, 2.0f, Step}, {20, 3.0f, Smooth}, {7, 4.0f, Quadratic}})
        setKey(track, key);
    setKey(track, {10, 9.0f, Step});
    EXPECT_EQ(rowsOf(track), (std::vector<int32_t>{5, 7, 10, 20}));
    EXPECT_EQ(track.keys[2].value, 9.0f);
    EXPECT_EQ(track.keys[2].kind, Step);
    EXPECT_EQ(findKey(track, 11), -1);

    EXPECT_FALSE(deleteKey(track, 4));  // no key there: nothing changes
    EXPECT_TRUE(deleteKey(track, 7));
    EXPECT_EQ(rowsOf(track), (std::vector<int32_t>{5, 10, 20}));
    EXPECT_EQ(findKey(track, 20), 2);
}

}  // namespace
}  // namespace vorn::sync
