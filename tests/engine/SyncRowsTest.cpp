#include "engine/SyncRows.h"

#include <gtest/gtest.h>

#include <limits>

namespace vorn::engine {
namespace {

TEST(SyncRowsTest, EightRowsPerBeat) {
    EXPECT_FLOAT_EQ(rowsPerSecondFor(120.0f), 16.0f);
    EXPECT_FLOAT_EQ(rowsPerSecondFor(125.0f), 125.0f / 60.0f * 8.0f);
}

TEST(SyncRowsTest, RowsRoundHalfUpWhileTheExactRowStaysFractional) {
    SyncRow below = syncRowAt(1031, 16.0f);
    EXPECT_NEAR(below.exact, 16.496, 1e-9);
    EXPECT_EQ(below.rounded, 16u);
    SyncRow above = syncRowAt(1032, 16.0f);
    EXPECT_NEAR(above.exact, 16.512, 1e-9);
    EXPECT_EQ(above.rounded, 17u);
    EXPECT_EQ(syncRowAt(31, 16.0f).rounded, 0u);  // 0.496
    EXPECT_EQ(syncRowAt(32, 16.0f).rounded, 1u);  // 0.512
}

TEST(SyncRowsTest, OddTemposNeverOverflowTheRow) {
    EXPECT_EQ(syncRowAt(4000000000u, 1e30f).rounded, 4294967295u);
    EXPECT_EQ(syncRowAt(1000, -16.0f).rounded, 0u);
    EXPECT_EQ(syncRowAt(1000, std::numeric_limits<float>::quiet_NaN()).rounded, 0u);
}

TEST(SyncRowsTest, RowsTurnBackIntoTimesAndPositions) {
    EXPECT_FLOAT_EQ(*secondsForRow(24, 16.0f), 1.5f);
    EXPECT_FALSE(secondsForRow(24, 0.0f).has_value());
    EXPECT_FALSE(secondsForRow(24, std::numeric_limits<float>::infinity()).has_value());
    EXPECT_EQ(positionMsFor(1.5f), 1500u);
    EXPECT_EQ(positionMsFor(0.0019f), 1u);  // truncated
    EXPECT_EQ(positionMsFor(-1.0f), 0u);
    EXPECT_EQ(positionMsFor(1e12f), 4294967295u);
}

}  // namespace
}  // namespace vorn::engine
