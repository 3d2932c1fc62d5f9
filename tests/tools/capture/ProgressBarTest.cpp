#include "tools/capture/ProgressBar.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace vorn::test {
namespace {

using capture::ProgressBar;

std::string written(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;) text += char(c);
    return text;
}

TEST(ProgressBar, ShowsFramesRateAndTimeLeft) {
    // 30 of 120 in 10 s: 3 fps, 90 frames to go = 30 s.
    EXPECT_EQ(ProgressBar::line(30, 120, 10.0), "[#######-----------------------] 30/120 frames  3.0 fps  0:30 left");
    EXPECT_EQ(ProgressBar::line(120, 120, 60.0), "[##############################] 120/120 frames  2.0 fps  0:00 left");
    EXPECT_EQ(ProgressBar::line(0, 5, 0.0), "[------------------------------] 0/5 frames");
    // 6000 frames to go at 2 fps: 50 minutes.
    EXPECT_EQ(ProgressBar::line(2, 6002, 1.0).substr(32), " 2/6002 frames  2.0 fps  50:00 left");
}

TEST(ProgressBar, WithoutATerminalItWritesATenthOfTheWayAtATime) {
    std::FILE* file = std::tmpfile();
    ProgressBar bar(20, file, false);
    for (int done = 1; done <= 20; ++done) bar.update(done, done * 0.5);
    bar.finish(10.0);
    std::string text = written(file);
    std::fclose(file);
    int lines = 0;
    for (char c : text) lines += c == '\n';
    EXPECT_EQ(lines, 10);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_NE(text.find("20/20 frames"), std::string::npos);
}

TEST(ProgressBar, OnATerminalItRedrawsOneLineAndEndsIt) {
    std::FILE* file = std::tmpfile();
    ProgressBar bar(3, file, true);
    bar.update(1, 0.0);
    bar.update(2, 0.05);  // too soon to redraw
    bar.update(3, 0.06);  // the last frame always shows
    bar.finish(0.06);
    std::string text = written(file);
    std::fclose(file);
    EXPECT_EQ(text.find("2/3"), std::string::npos);
    EXPECT_NE(text.find("\r[##########"), std::string::npos);
    EXPECT_NE(text.find("3/3 frames"), std::string::npos);
    EXPECT_EQ(text.back(), '\n');
}

}  // namespace
}  // namespace vorn::test
