#include "sync/TrackFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/Debug.h"
#include "platform/Paths.h"
#include "tests/support/WorkingDirectory.h"

namespace vorn::sync {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::WorkingDirectory;
using Bytes = std::vector<uint8_t>;

Bytes le32(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

Bytes keyBytes(int32_t row, float value, uint8_t kind) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    Bytes bytes = le32(uint32_t(row));
    Bytes valueBytes = le32(bits);
    bytes.insert(bytes.end(), valueBytes.begin(), valueBytes.end());
    bytes.push_back(kind);
    return bytes;
}

Bytes fileBytes(uint32_t count, const std::vector<Bytes>& keys) {
    Bytes bytes = le32(count);
    for (const Bytes& key : keys) bytes.insert(bytes.end(), key.begin(), key.end());
    return bytes;
}

TEST(TrackFileTest, NamesAreEncodedSoNoneClimbsOutVanishesOrOverflows) {
    std::string escapes;  // an escape needs fewer than 257 characters before it: 86 make 258
    for (int i = 0; i < 86; ++i) escapes += "-3A";
    const std::pair<std::string, std::string> cases[] = {
        {"cam:pos x", "cam-3Apos-20x"},
        {"Glow_1/amount.x", "Glow_1/amount.x"},
        {"a\\b-c\xC3\xA9", "a-5Cb-2Dc-C3-A9"},
        {std::string("n\0l", 3), "n-00l"},
        {"../../x", "-2E-2E/-2E-2E/x"},
        {"a/../b", "a/-2E-2E/b"},
        {"a/./b", "a/-2E/b"},
        {"..", "-2E-2E"},
        {"a//b", "a/-2Fb"},
        {"/etc/passwd", "-2Fetc/passwd"},
        {"dir/", "dir-2F"},
        {"..a/b..c/.hidden/...", "..a/b..c/.hidden/..."},  // dots inside longer names are names
        {std::string(300, 'a'), std::string(259, 'a')},
        {std::string(100, ':'), escapes},
        {std::string(257, 'a') + ":b", std::string(257, 'a')},
        {std::string(256, 'a') + ":b", std::string(256, 'a') + "-3A"},
    };
    for (const auto& [name, encoded] : cases) EXPECT_EQ(encodeTrackName(name), encoded) << name;
    EXPECT_EQ(trackPath("sync", "cam:pos x"), "sync_cam-3Apos-20x.track");
    EXPECT_EQ(trackPath("sync", std::string(300, 'a')), "sync_" + std::string(254, 'a'));
}

TEST(TrackFileTest, SavesCountAndKeysLittleEndianInFoldersForSlashesAndLoadsThemBackInAnyCase) {
    WorkingDirectory directory;
    SyncTrack track;
    track.name = "scene/cam:pos x";
    track.keys = {{-3, 1.5f, Step}, {16, -2.0f, Smooth}, {0x01020304, 0.1f, Quadratic}};
    ASSERT_TRUE(saveTrackFile(track, trackPath("sync", track.name)));
    Bytes expected = fileBytes(3, {keyBytes(-3, 1.5f, 0), keyBytes(16, -2.0f, 2), keyBytes(0x01020304, 0.1f, 3)});
    EXPECT_EQ(readBytes(directory.folder().file("sync_scene/cam-3Apos-20x.track")), expected);

    SyncTrack loaded;
    ASSERT_TRUE(loadTrackFile(loaded, trackPath("sync", "SCENE/Cam:pos x"), defaultFileFunctions()));
    ASSERT_EQ(loaded.keys.size(), 3u);
    EXPECT_EQ(loaded.keys[2].row, 0x01020304);
    EXPECT_EQ(loaded.keys[1].value, -2.0f);
    EXPECT_EQ(loaded.keys[1].kind, Smooth);
}

TEST(TrackFileTest, TrackNamesFromAProjectCannotWriteOutsideTheWorkingDirectory) {
    test::TempDir outer;
    std::string work = outer.file("work");
    ASSERT_TRUE(platform::makeDirectory(work));
    std::string previous = platform::currentDirectory();
    ASSERT_TRUE(platform::changeDirectory(work));

    bool allSaved = true;
    for (const char* name : {"../../x", "a/../../y", "../z", "..", "/abs", "a//../b", "./."}) {
        SyncTrack track;
        track.name = name;
        track.keys = {{1, 1.0f, Step}};
        allSaved = saveTrackFile(track, trackPath("sync", name)) && allSaved;
    }
    platform::changeDirectory(previous);
    EXPECT_TRUE(allSaved);

    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(outer.path())) {
        if (!entry.is_regular_file()) continue;
        ++files;
        std::string relative = fs::relative(entry.path(), outer.path()).string();
        EXPECT_EQ(relative.rfind("work/", 0), 0u) << relative << " lies outside the working directory";
    }
    EXPECT_EQ(files, 7);
    EXPECT_TRUE(fs::is_regular_file(work + "/sync_-2E-2E/-2E-2E/x.track"));
}

TEST(TrackFileTest, SavingFailsWhereAFileBlocksAFolder) {
    WorkingDirectory directory;
    directory.folder().write("sync_dir", "not a folder");
    SyncTrack track;
    track.name = "dir/x";
    platform::DebugCapture capture;
    EXPECT_FALSE(saveTrackFile(track, trackPath("sync", track.name)));
    EXPECT_TRUE(capture.contains("sync_dir"));
}

TEST(TrackFileTest, FilesWithoutAUsableKeyCountDoNotLoad) {
    WorkingDirectory directory;
    SyncTrack track;
    track.keys = {{5, 5.0f, Step}};
    EXPECT_FALSE(loadTrackFile(track, "sync_missing.track", defaultFileFunctions()));

    directory.folder().write("sync_empty.track", Bytes{});
    directory.folder().write("sync_short.track", Bytes{1, 0});
    directory.folder().write("sync_negative.track", fileBytes(uint32_t(-5), {keyBytes(1, 1.0f, 1)}));
    platform::DebugCapture capture;
    EXPECT_FALSE(loadTrackFile(track, "sync_empty.track", defaultFileFunctions()));
    EXPECT_FALSE(loadTrackFile(track, "sync_short.track", defaultFileFunctions()));
    EXPECT_FALSE(loadTrackFile(track, "sync_negative.track", defaultFileFunctions()));
    EXPECT_TRUE(capture.contains("sync_short.track: no key count"));
    EXPECT_TRUE(capture.contains("sync_negative.track: negative key count -5"));
    ASSERT_EQ(track.keys.size(), 1u);  // untouched
    EXPECT_EQ(track.keys[0].row, 5);
}

TEST(TrackFileTest, ACountLargerThanTheFileReadsOnlyTheKeysPresent) {
    WorkingDirectory directory;
    directory.folder().write("sync_big.track",
                             fileBytes(1000000000u, {keyBytes(1, 1.0f, 1), keyBytes(2, 2.0f, 0)}));
    SyncTrack track;
    platform::DebugCapture capture;
    ASSERT_TRUE(loadTrackFile(track, "sync_big.track", defaultFileFunctions()));
    ASSERT_EQ(track.keys.size(), 2u);
    EXPECT_LT(track.keys.capacity(), 1000u);  // nothing was sized from the count
    EXPECT_EQ(track.keys[1].value, 2.0f);
    EXPECT_TRUE(capture.contains("holds 2 of 1000000000 keys"));
}

TEST(TrackFileTest, DamagedKeysEndTheTrackAtTheLastSoundKey) {
    WorkingDirectory directory;
    Bytes truncated = fileBytes(3, {keyBytes(1, 1.0f, 1), keyBytes(4, 4.0f, 1)});
    truncated.resize(truncated.size() - 3);  // half of the second key
    directory.folder().write("sync_truncated.track", truncated);
    directory.folder().write("sync_unsorted.track",
                             fileBytes(3, {keyBytes(1, 1.0f, 1), keyBytes(9, 9.0f, 1), keyBytes(3, 3.0f, 1)}));
    directory.folder().write("sync_kind.track", fileBytes(2, {keyBytes(1, 1.0f, 1), keyBytes(2, 2.0f, 4)}));

    platform::DebugCapture capture;
    auto rowsIn = [](const char* path) {
        SyncTrack track;
        EXPECT_TRUE(loadTrackFile(track, path, defaultFileFunctions())) << path;
        std::vector<int32_t> rows;
        for (const SyncKey& key : track.keys) rows.push_back(key.row);
        return rows;
    };
    EXPECT_EQ(rowsIn("sync_truncated.track"), (std::vector<int32_t>{1}));
    EXPECT_EQ(rowsIn("sync_unsorted.track"), (std::vector<int32_t>{1, 9}));
    EXPECT_EQ(rowsIn("sync_kind.track"), (std::vector<int32_t>{1}));
    EXPECT_TRUE(capture.contains("sync_unsorted.track: key 2 is out of row order"));
    EXPECT_TRUE(capture.contains("sync_kind.track: key 1 has unknown kind 4"));
}

}  // namespace
}  // namespace vorn::sync
