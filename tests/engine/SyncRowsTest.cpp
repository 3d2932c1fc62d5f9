#include "engine/SyncRows.h"

#include <gtest/gtest.h>

#include <limits>

namespace vorn::engine {
namespace {

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(SyncRowsTest, RowsRoundHalfUpAndOddTemposNeverOverflow) {
    EXPECT_FLOAT_EQ(rowsPerSecondFor(120.0f), 16.0f);  // eight rows a beat
    struct Case {
        uint32_t ms;
        float rowsPerSecond;
        uint32_t rounded;
    };
    const Case cases[] = {
        {1031, 16.0f, 16}, {1032, 16.0f, 17}, {31, 16.0f, 0}, {32, 16.0f, 1},  // 16.496, 16.512, 0.496, 0.512
        {4000000000u, 1e30f, 4294967295u},  {1000, -16.0f, 0}, {1000, kNan, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(syncRowAt(c.ms, c.rowsPerSecond).rounded, c.rounded) << c.ms;
    EXPECT_NEAR(syncRowAt(1031, 16.0f).exact, 16.496, 1e-9);  // tracks are read between rows
}

TEST(SyncRowsTest, RowsTurnBackIntoTimesAndPositions) {
    EXPECT_FLOAT_EQ(*secondsForRow(24, 16.0f), 1.5f);
    EXPECT_FALSE(secondsForRow(24, 0.0f).has_value());
    EXPECT_FALSE(secondsForRow(24, kInf).has_value());
    const std::pair<float, uint32_t> positions[] = {{1.5f, 1500}, {0.0019f, 1}, {-1.0f, 0}, {1e12f, 4294967295u}};
    for (auto [seconds, ms] : positions) EXPECT_EQ(positionMsFor(seconds), ms) << seconds;
}

}  // namespace
}  // namespace vorn::engine
