#include "tools/capture/CaptureOptions.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

using capture::parseCaptureOptions;

TEST(CaptureOptions, EveryOptionMayComeInAnyOrder) {
    auto options = parseCaptureOptions(
        {"--fps", "25", "--video", "out.mp4", "--to", "3.5", "show.vorn", "--sync", "--from", "1e0", "--out", "f"},
        nullptr);
    ASSERT_TRUE(options);
    EXPECT_TRUE(options->sync);
    EXPECT_EQ(options->fps, 25.0);
    EXPECT_EQ(options->from, 1.0);
    EXPECT_EQ(options->to, 3.5);
    EXPECT_EQ(options->video, "out.mp4");
    EXPECT_EQ(options->project, "show.vorn");
}

TEST(CaptureOptions, MistakesAreNamedInOneLine) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--out", "f"}, "no project file given"},
        {{"a.vorn"}, "no output folder given (--out DIR)"},
        {{"a.vorn", "--out", "f", "--fps", "fast"}, "--fps needs a number, not \"fast\""},
        {{"a.vorn", "--out", "f", "--to", "nan"}, "--to needs a number, not \"nan\""},
        {{"a.vorn", "--out", "f", "--fps", "0"}, "--fps must be above 0 and at most 1000"},
        {{"a.vorn", "--out", "f", "--from", "-1"}, "--from must not be negative"},
        {{"a.vorn", "--out", "f", "--from", "2", "--to", "2"}, "--to must be later than --from"},
        {{"a.vorn", "--out", "f", "--to", "1e9"}, "--to must be at most 4000000 seconds"},
        {{"a.vorn", "--out", "f", "--speed", "2"}, "unknown option --speed"},
    };
    for (const auto& [arguments, expected] : cases) {
        std::string error;
        EXPECT_FALSE(parseCaptureOptions(arguments, &error)) << expected;
        EXPECT_EQ(error, expected);
    }
}

}  // namespace
}  // namespace vorn::test
