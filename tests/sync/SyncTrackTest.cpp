#include "sync/SyncTrack.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace vorn::sync {
namespace {

SyncTrack trackOf(std::vector<SyncKey> keys) {
    SyncTrack track;
    track.name = "t";
    track.keys = std::move(keys);
    return track;
}

std::vector<int32_t> rowsOf(const SyncTrack& track) {
    std::vector<int32_t> rows;
    for (const SyncKey& key : track.keys) rows.push_back(key.row);
    return rows;
}

TEST(SyncTrackTest, TrackWithoutKeysReadsZero) {
    SyncTrack track;
    EXPECT_EQ(getValue(track, -3.0), 0.0);
    EXPECT_EQ(getValue(track, 17.5), 0.0);
}

TEST(SyncTrackTest, SingleKeyHoldsItsValueEverywhere) {
    SyncTrack track = trackOf({{40, 2.5f, Linear}});
    for (double row : {-1000.0, 0.0, 39.99, 40.0, 40.5, 1e7})
        EXPECT_EQ(getValue(track, row), 2.5) << "row " << row;
}

TEST(SyncTrackTest, RowsOutsideTheKeysHoldTheNearestEndKey) {
    SyncTrack track = trackOf({{10, 1.0f, Linear}, {20, 3.0f, Linear}, {30, -4.0f, Smooth}});
    EXPECT_EQ(getValue(track, 9.99), 1.0);
    EXPECT_EQ(getValue(track, -50.0), 1.0);
    EXPECT_EQ(getValue(track, 30.0), -4.0);
    EXPECT_EQ(getValue(track, 30.75), -4.0);
    EXPECT_EQ(getValue(track, 5000.0), -4.0);
}

TEST(SyncTrackTest, EveryKindReturnsTheKeyValueExactlyAtItsRow) {
    for (uint8_t kind : {Step, Linear, Smooth, Quadratic}) {
        SyncTrack track = trackOf({{0, 0.5f, kind}, {8, 4.5f, kind}, {16, -1.25f, kind}});
        EXPECT_EQ(getValue(track, 0.0), 0.5) << "kind " << int(kind);
        EXPECT_EQ(getValue(track, 8.0), 4.5) << "kind " << int(kind);
        EXPECT_EQ(getValue(track, 16.0), -1.25) << "kind " << int(kind);
    }
}

TEST(SyncTrackTest, InterpolatesByTheEarlierKeysKind) {
    // From 2 to 6 over rows 10..14; row 11 is a quarter of the way (t = 0.25).
    auto valueAt = [](uint8_t kind, double row) {
        return getValue(trackOf({{10, 2.0f, kind}, {14, 6.0f, Step}}), row);
    };
    EXPECT_EQ(valueAt(Step, 11.0), 2.0);
    EXPECT_EQ(valueAt(Step, 13.99), 2.0);
    EXPECT_DOUBLE_EQ(valueAt(Linear, 11.0), 3.0);            // 2 + 4 * 0.25
    EXPECT_DOUBLE_EQ(valueAt(Smooth, 11.0), 2.625);          // 2 + 4 * 0.0625 * 2.5
    EXPECT_DOUBLE_EQ(valueAt(Quadratic, 11.0), 2.25);        // 2 + 4 * 0.0625
    EXPECT_DOUBLE_EQ(valueAt(Linear, 10.5), 2.5);            // a fraction inside the key's own row
    EXPECT_DOUBLE_EQ(valueAt(Smooth, 12.0), 4.0);            // half way is symmetric
    EXPECT_EQ(valueAt(7, 11.0), 0.0);                        // a kind the tracker never sends
}

TEST(SyncTrackTest, NegativeFractionalRowsUseTheKeyBelow) {
    // floor(-1.5) is -2, so the segment from -2 applies: t = 0.5 / 4.
    SyncTrack track = trackOf({{-2, 0.0f, Linear}, {2, 4.0f, Linear}});
    EXPECT_DOUBLE_EQ(getValue(track, -1.5), 0.5);
}

TEST(SyncTrackTest, HugeAndNonNumberRowsStayInsideTheKeys) {
    SyncTrack track = trackOf({{0, 1.0f, Linear}, {10, 2.0f, Linear}});
    EXPECT_EQ(getValue(track, 1e300), 2.0);
    EXPECT_EQ(getValue(track, -1e300), 1.0);
    EXPECT_EQ(getValue(track, std::numeric_limits<double>::quiet_NaN()), 1.0);
}

TEST(SyncTrackTest, SetKeyKeepsRowsSortedAndReplacesAnExistingRow) {
    SyncTrack track;
    setKey(track, {10, 1.0f, Linear});
    setKey(track, {5, 2.0f, Step});
    setKey(track, {20, 3.0f, Smooth});
    setKey(track, {7, 4.0f, Quadratic});
    EXPECT_EQ(rowsOf(track), (std::vector<int32_t>{5, 7, 10, 20}));

    setKey(track, {10, 9.0f, Step});
    ASSERT_EQ(track.keys.size(), 4u);
    EXPECT_EQ(track.keys[2].value, 9.0f);
    EXPECT_EQ(track.keys[2].kind, Step);
    EXPECT_EQ(findKey(track, 20), 3);
    EXPECT_EQ(findKey(track, 11), -1);
}

TEST(SyncTrackTest, DeleteKeyRemovesOnlyAnExistingRow) {
    SyncTrack track = trackOf({{1, 1.0f, Step}, {2, 2.0f, Step}, {3, 3.0f, Step}});
    EXPECT_FALSE(deleteKey(track, 4));
    EXPECT_FALSE(deleteKey(track, 0));
    EXPECT_EQ(rowsOf(track), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_TRUE(deleteKey(track, 2));
    EXPECT_EQ(rowsOf(track), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(track.keys[1].value, 3.0f);
    EXPECT_TRUE(deleteKey(track, 1));
    EXPECT_TRUE(deleteKey(track, 3));
    EXPECT_TRUE(track.keys.empty());
    EXPECT_FALSE(deleteKey(track, 3));
}

}  // namespace
}  // namespace vorn::sync
