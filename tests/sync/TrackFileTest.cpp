// Tracks and their ".track" files: values between keys, names that keep every
// file under the working directory, the byte layout, and what a damaged file
// still gives.
#include "sync/TrackFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "platform/Debug.h"
#include "tests/support/WorkingDirectory.h"

namespace vorn::sync {
namespace {

using Bytes = std::vector<uint8_t>;
using Values = std::vector<float>;

void appendLe32(Bytes& bytes, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(uint8_t(v >> shift));
}

Bytes fileBytes(uint32_t count, const std::vector<SyncKey>& keys) {
    Bytes bytes;
    appendLe32(bytes, count);
    for (const SyncKey& key : keys) {
        uint32_t bits;
        std::memcpy(&bits, &key.value, sizeof bits);
        appendLe32(bytes, uint32_t(key.row));
        appendLe32(bytes, bits);
        bytes.push_back(key.kind);
    }
    return bytes;
}

TEST(TrackFileTest, NamesAreEncodedSoNoneClimbsOutVanishesOrOverflows) {
    std::string escapes;  // an escape needs fewer than 257 characters before it: 86 make 258
    for (int i = 0; i < 86; ++i)
        escapes += "-3A";
    const std::pair<std::string, std::string> cases[] = {
        {"cam:pos x", "cam-3Apos-20x"},
        {"Glow_1/amount.x", "Glow_1/amount.x"},
        {"a\\b-c\xC3\xA9", "a-5Cb-2Dc-C3-A9"},
        {std::string("n\0l", 3), "n-00l"},
        {"../../x", "-2E-2E/-2E-2E/x"},
        {"a/../b", "a/-2E-2E/b"},
        {"a/./b", "a/-2E/b"},
        {"./.", "-2E/-2E"},
        {"..", "-2E-2E"},
        {"a//b", "a/-2Fb"},
        {"a//../b", "a/-2F-2E-2E/b"},
        {"/etc/passwd", "-2Fetc/passwd"},
        {"dir/", "dir-2F"},
        {"..a/b..c/.hidden/...", "..a/b..c/.hidden/..."},  // dots inside longer names are names
        {std::string(300, 'a'), std::string(259, 'a')},
        {std::string(100, ':'), escapes},
        {std::string(257, 'a') + ":b", std::string(257, 'a')},
        {std::string(256, 'a') + ":b", std::string(256, 'a') + "-3A"},
    };
    for (const auto& [name, encoded] : cases)
        EXPECT_EQ(encodeTrackName(name), encoded) << name;
    EXPECT_EQ(trackPath("sync", "cam:pos x"), "sync_cam-3Apos-20x.track");
    EXPECT_EQ(trackPath("sync", std::string(300, 'a')), "sync_" + std::string(254, 'a'));
}

TEST(TrackFileTest, DamagedFilesKeepTheKeysBeforeTheFaultAndSaySo) {
    test::WorkingDirectory directory;
    SyncTrack untouched{"t", {{5, 5.0f, Step}}};
    platform::DebugCapture silence;
    EXPECT_FALSE(loadTrackFile(untouched, "sync_missing.track", defaultFileFunctions()));
    EXPECT_EQ(silence.text(), "");  // a missing file is the usual case

    Bytes truncated = fileBytes(3, {{1, 1.0f, Linear}, {4, 4.0f, Linear}});
    truncated.resize(truncated.size() - 3);  // half of the second key
    struct Case {
        const char* name;
        Bytes bytes;
        bool loads;
        Values values;  // of the keys after the load; a file that does not load leaves the 5
        const char* diagnostic;
    };
    const Case cases[] = {
        {"short", {1, 0}, false, {5}, "sync_short.track: no key count"},
        {"negative", fileBytes(uint32_t(-5), {{1, 1.0f, Linear}}), false, {5}, "negative key count -5"},
        {"big", fileBytes(1000000000u, {{-1, 1.5f, Linear}, {2, -2.0f, Step}}), true, {1.5f, -2.0f},
         "holds 2 of 1000000000 keys"},
        {"truncated", truncated, true, {1}, "holds 1 of 3 keys"},
        {"unsorted", fileBytes(3, {{1, 1.0f, Linear}, {9, 9.0f, Linear}, {3, 3.0f, Linear}}), true, {1, 9},
         "sync_unsorted.track: key 2 is out of row order"},
        {"kind", fileBytes(2, {{1, 1.0f, Linear}, {2, 2.0f, 4}}), true, {1}, "key 1 has unknown kind 4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = directory.folder().write(std::string("sync_") + c.name + ".track", c.bytes);
        SyncTrack track = untouched;
        platform::DebugCapture capture;
        EXPECT_EQ(loadTrackFile(track, path, defaultFileFunctions()), c.loads);
        Values values;
        for (const SyncKey& key : track.keys)
            values.push_back(key.value);
        EXPECT_EQ(values, c.values);
        EXPECT_LT(track.keys.capacity(), 1000u);  // nothing was sized from the count
        EXPECT_TRUE(capture.contains(c.diagnostic)) << capture.text();
    }
}

TEST(TrackFileTest, ValuesFollowTheEarlierKeysKindAndHoldOutsideTheKeys) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // From 2 to 6 over rows 10..14; row 11 is a quarter of the way (t = 0.25).
    auto ramp = [](uint8_t kind) { return std::vector<SyncKey>{{10, 2.0f, kind}, {14, 6.0f, Step}}; };
    struct Case {
        std::vector<SyncKey> keys;
        double row, expected;
    };
    const Case cases[] = {
        {{}, 17.5, 0.0},
        {{{40, 2.5f, Linear}}, 1e7, 2.5},
        {ramp(Step), 13.99, 2.0},
        {ramp(Linear), 11.0, 3.0},       // 2 + 4 x 0.25
        {ramp(Smooth), 11.0, 2.625},     // 2 + 4 x 0.0625 x 2.5
        {ramp(Quadratic), 11.0, 2.25},   // 2 + 4 x 0.0625
        {ramp(7), 11.0, 0.0},            // a kind the tracker never sends
        {ramp(Smooth), 14.0, 6.0},       // exactly at a key, whatever its kind
        {{{-2, 0.0f, Linear}, {2, 4.0f, Linear}}, -1.5, 0.5},  // floor(-1.5) = -2: t = 0.5 / 4
        {ramp(Linear), 1e300, 6.0},
        {ramp(Linear), -1e300, 2.0},
        {ramp(Linear), nan, 2.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(getValue(SyncTrack{"t", c.keys}, c.row), c.expected) << "row " << c.row;
}

}  // namespace
}  // namespace vorn::sync
