#include "platform/Paths.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace vorn::platform {
namespace {

class Paths : public ::testing::Test {
protected:
    test::TempDir dir;
};

TEST_F(Paths, BackslashesBecomeSlashesAndEachComponentMatchesIgnoringCaseAnExactNameFirst) {
    dir.write("Data/Images/Logo.PNG", "x");
    dir.write("File.txt", "upper");
    dir.write("file.txt", "lower");
    const std::string d = dir.path();
    const std::pair<std::string, std::string> cases[] = {
        {d + "\\data\\IMAGES\\logo.png", d + "/Data/Images/Logo.PNG"},
        {d + "/DATA/images", d + "/Data/Images"},
        {d + "\\data\\Missing\\New.png", d + "/Data/Missing/New.png"},  // kept as written after the last match
        {d + "\\nothing\\data", d + "/nothing/data"},
        {d + "/file.txt", d + "/file.txt"},
        {d + "/File.txt", d + "/File.txt"},
        {d + "/FILE.TXT", d + "/File.txt"},  // no exact match: the first listed, upper case first among equals
    };
    for (const auto& [written, resolved] : cases) EXPECT_EQ(resolvePath(written), resolved) << written;
}

TEST_F(Paths, RelativePathsResolveAgainstTheWorkingDirectory) {
    dir.write("Rsrc/Misc/loading.png", "x");
    std::string previous = currentDirectory();
    ASSERT_TRUE(changeDirectory(dir.path()));
    EXPECT_EQ(resolvePath(".\\rsrc\\misc\\Loading.png"), "./Rsrc/Misc/loading.png");
    EXPECT_EQ(resolvePath("rsrc\\MISC"), "Rsrc/Misc");
    EXPECT_TRUE(fileExists("RSRC\\misc\\loading.png"));
    ASSERT_TRUE(changeDirectory(previous));
}

TEST_F(Paths, ReadFileReadsWholeFilesWithinTheLimit) {
    dir.write("Track/Data.bin", std::vector<uint8_t>{1, 2, 3, 4, 5});
    auto bytes = readFile(dir.path() + "\\track\\data.BIN", 100);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_TRUE(readFile(dir.path() + "/Track/Data.bin", 5));
    EXPECT_FALSE(readFile(dir.path() + "/Track/Data.bin", 4));
    EXPECT_FALSE(readFile(dir.path() + "/Track/none.bin", 100));
    EXPECT_FALSE(readFile(dir.path() + "/Track", 100));  // a folder is not a file
    dir.write("empty", "");
    auto empty = readFile(dir.file("empty"), 100);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST_F(Paths, WriteFileReplacesTheFileAtTheResolvedPath) {
    dir.write("Out/old.bin", std::vector<uint8_t>{9, 9, 9, 9, 9, 9});
    ASSERT_TRUE(writeFile(dir.path() + "\\out\\OLD.bin", std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(test::readBytes(dir.file("Out/old.bin")), (std::vector<uint8_t>{1, 2, 3}));
    ASSERT_TRUE(writeFile(dir.file("Out/empty.bin"), {}));
    EXPECT_TRUE(test::readBytes(dir.file("Out/empty.bin")).empty());
    EXPECT_FALSE(writeFile(dir.file("absent/new.bin"), std::vector<uint8_t>{1}));
    EXPECT_FALSE(writeFile(dir.file("Out"), std::vector<uint8_t>{1}));  // a folder
}

TEST_F(Paths, OpenFileUsesTheResolvedPath) {
    dir.write("Scene/A.scn", "hello");
    std::FILE* file = openFile(dir.path() + "\\SCENE\\a.SCN", "rb");
    ASSERT_NE(file, nullptr);
    char text[6] = {};
    EXPECT_EQ(std::fread(text, 1, 5, file), 5u);
    std::fclose(file);
    EXPECT_STREQ(text, "hello");
    EXPECT_EQ(openFile(dir.path() + "\\scene\\b.scn", "rb"), nullptr);
}

// Whatever a production names (a FIFO without a writer, a device, a folder),
// every way of opening refuses it at once with its reason; a hang ends the
// test binary through the alarm instead of passing.
TEST_F(Paths, OnlyRegularFilesOpenAndARefusalSaysWhy) {
    std::string fifo = dir.file("pipe.png");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    dir.write("Folder/x", "x");
    dir.write("five", "12345");
    struct Case {
        std::string path;
        std::string reason;
        bool forWriting;  // also refused when opened for writing
    } cases[] = {
        {fifo, "is not a regular file", true},
        {"/dev/zero", "is not a regular file", true},
        {dir.path() + "\\FOLDER", "is a directory", true},
        {dir.file("absent"), "No such file or directory", false},
    };
    ::alarm(20);
    for (const Case& c : cases) {
        std::string why;
        EXPECT_FALSE(readFile(c.path, 1 << 20, &why)) << c.path;
        EXPECT_EQ(why, c.reason) << c.path;
        for (const char* mode : {"rb", "wb", "ab", "r+b"}) {
            if (mode[0] != 'r' && !c.forWriting) continue;
            why.clear();
            EXPECT_EQ(openFile(c.path, mode, &why), nullptr) << c.path << " " << mode;
            EXPECT_EQ(why, c.reason) << c.path << " " << mode;
        }
    }
    ::alarm(0);

    // A limit is given in the unit it was written in.
    std::string why;
    EXPECT_EQ(openFile(dir.file("five"), "rb", &why, 4), nullptr);
    EXPECT_EQ(why, "is larger than 4 bytes");
    dir.write("kibibyte", std::string(1025, 'x'));
    EXPECT_FALSE(readFile(dir.file("kibibyte"), 1024, &why));
    EXPECT_EQ(why, "is larger than 1 KiB");
}

TEST_F(Paths, DirectoriesAreMadeListedAndRecognised) {
    EXPECT_TRUE(makeDirectory(dir.path() + "\\Made"));
    EXPECT_TRUE(isDirectory(dir.path() + "/made"));
    EXPECT_TRUE(makeDirectory(dir.path() + "\\MADE"));  // already there
    dir.write("plain", "x");
    EXPECT_FALSE(makeDirectory(dir.file("plain")));
    EXPECT_FALSE(isDirectory(dir.file("plain")));
    EXPECT_TRUE(fileExists(dir.file("PLAIN")));
    EXPECT_FALSE(fileExists(dir.file("absent")));

    dir.write("Made/beta.txt", "x");
    dir.write("Made/Alpha.txt", "x");
    dir.write("Made/gamma/keep", "x");
    auto entries = listDirectory(dir.path() + "\\made");
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 3u);
    EXPECT_EQ((*entries)[0].name, "Alpha.txt");
    EXPECT_EQ((*entries)[1].name, "beta.txt");
    EXPECT_EQ((*entries)[2].name, "gamma");
    EXPECT_FALSE((*entries)[0].isDirectory);
    EXPECT_TRUE((*entries)[2].isDirectory);
    EXPECT_FALSE(listDirectory(dir.file("absent")));
}

}  // namespace
}  // namespace vorn::platform
