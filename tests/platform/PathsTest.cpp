#include "platform/Paths.h"

#include "tests/support/TempDir.h"
#include "tests/support/WorkingDirectory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace vorn::platform {
namespace {

TEST(Paths, BackslashesBecomeSlashesAndEachComponentMatchesIgnoringCaseAnExactNameFirst) {
    test::WorkingDirectory here;
    here.folder().write("Data/Images/Logo.PNG", "x");
    here.folder().write("File.txt", "upper");
    here.folder().write("file.txt", "lower");
    const std::string d = here.folder().path();
    const std::pair<std::string, std::string> cases[] = {
        {d + "\\data\\IMAGES\\logo.png", d + "/Data/Images/Logo.PNG"},
        {d + "\\data\\Missing\\New.png", d + "/Data/Missing/New.png"},  // kept as written after the last match
        {d + "\\nothing\\data", d + "/nothing/data"},
        {d + "/file.txt", d + "/file.txt"},
        {d + "/File.txt", d + "/File.txt"},
        {d + "/FILE.TXT", d + "/File.txt"},  // no exact match: the first listed, upper case first among equals
        {".\\data\\images\\LOGO.png", "./Data/Images/Logo.PNG"},  // against the working directory
        {"DATA\\images", "Data/Images"},
    };
    for (const auto& [written, resolved] : cases) EXPECT_EQ(resolvePath(written), resolved) << written;
}

TEST(Paths, WholeFilesAreReadWithinTheLimitAndReplacedAtTheResolvedPath) {
    test::TempDir dir;
    dir.write("Track/Data.bin", std::vector<uint8_t>{1, 2, 3, 4, 5});
    EXPECT_EQ(readFile(dir.path() + "\\track\\data.BIN", 5), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_FALSE(readFile(dir.path() + "/Track/Data.bin", 4));
    EXPECT_EQ(readFile(dir.write("empty", ""), 100), std::vector<uint8_t>{});

    ASSERT_TRUE(writeFile(dir.path() + "\\TRACK\\data.bin", std::vector<uint8_t>{7, 8}));
    EXPECT_EQ(test::readBytes(dir.file("Track/Data.bin")), (std::vector<uint8_t>{7, 8}));
    EXPECT_FALSE(writeFile(dir.file("absent/new.bin"), std::vector<uint8_t>{1}));
}

// Whatever a production names (a FIFO without a writer, a device, a folder),
// every way of opening refuses it at once with its reason (readFile's refusals
// are shown by the image file test); a hang ends the test binary through the alarm.
TEST(Paths, OnlyRegularFilesOpenAndARefusalSaysWhy) {
    test::TempDir dir;
    std::string fifo = dir.file("pipe.png");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    dir.write("Folder/x", "x");
    const std::pair<std::string, std::string> cases[] = {
        {fifo, "is not a regular file"},
        {"/dev/zero", "is not a regular file"},
        {dir.path() + "\\FOLDER", "is a directory"},
    };
    ::alarm(20);
    for (const auto& [path, reason] : cases) {
        for (const char* mode : {"rb", "wb", "ab", "r+b"}) {
            std::string why;
            EXPECT_EQ(openFile(path, mode, &why), nullptr) << path << " " << mode;
            EXPECT_EQ(why, reason) << path << " " << mode;
        }
    }
    ::alarm(0);

    // A limit is given in the unit it was written in.
    std::string why;
    EXPECT_EQ(openFile(dir.write("five", "12345"), "rb", &why, 4), nullptr);
    EXPECT_EQ(why, "is larger than 4 bytes");
    EXPECT_FALSE(readFile(dir.write("kibibyte", std::string(1025, 'x')), 1024, &why));
    EXPECT_EQ(why, "is larger than 1 KiB");
}

}  // namespace
}  // namespace vorn::platform
