// Running vorn-capture as a user would and reading back the frames it wrote,
// for the end-to-end capture tests.
#pragma once

#include "platform/ImageDecoder.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/GlFixture.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace vorn::test {

struct CommandResult {
    int exitCode = -1;
    std::string errors;  // what it wrote to stderr
};

// Runs vorn-capture with the arguments in the current folder; prefix goes in
// front of the command (environment settings).
inline CommandResult runCapture(const std::string& arguments, const std::string& prefix = "") {
    namespace fs = std::filesystem;
    std::string errorsFile = (fs::temp_directory_path() / ("capture-errors-" + std::to_string(::getpid()))).string();
    std::string command = prefix + binaryFolder() + "/bin/vorn-capture " + arguments + " 2> " + errorsFile;
    int status = std::system(command.c_str());
    CommandResult run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errorsFile);
    std::stringstream text;
    text << in.rdbuf();
    run.errors = text.str();
    fs::remove(errorsFile);
    return run;
}

inline platform::DecodedImage readFrame(const std::string& path) {
    auto frame = platform::decodeImageFile(path);
    EXPECT_TRUE(frame.has_value()) << path;
    return frame ? *frame : platform::DecodedImage{};
}

// The colour of a decoded RGB frame at (x, y) from its top-left corner.
inline Rgba framePixel(const platform::DecodedImage& frame, int x, int y) {
    std::size_t at = (std::size_t(y) * frame.width + x) * frame.channels;
    if (frame.channels < 3 || at + 2 >= frame.pixels.size()) {
        ADD_FAILURE() << "no pixel at " << x << ", " << y;
        return {};
    }
    return {frame.pixels[at], frame.pixels[at + 1], frame.pixels[at + 2], 255};
}

inline Rgba framePixel(const std::string& path, int x, int y) { return framePixel(readFrame(path), x, y); }

}  // namespace vorn::test
