#include "tools/capture/Capture.h"

#include "platform/Debug.h"
#include "platform/FileLimits.h"
#include "platform/GlWindow.h"
#include "platform/ImageEncoder.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/Timer.h"
#include "tools/capture/CaptureClock.h"
#include "tools/capture/FrameSchedule.h"
#include "tools/capture/ProgressBar.h"
#include "tools/capture/ScreenTarget.h"
#include "tools/capture/VideoEncoder.h"
#include "ui/Player.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace vorn::capture {

namespace {

namespace fs = std::filesystem;

int failure(const std::string& why) {
    platform::debugLine("vorn-capture: " + why);
    return 1;
}

std::string absolutePath(const std::string& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(fs::path(path), error);
    return error ? path : absolute.lexically_normal().string();
}

bool readableFile(const std::string& path, std::string* whyNot) {
    std::FILE* file = platform::openFile(path, "rb", whyNot, platform::kMaxProjectFileBytes);
    if (!file) return false;
    std::fclose(file);
    return true;
}

// Creates the folder when needed and proves that files can be written into it.
bool writableFolder(const std::string& path) {
    std::error_code error;
    fs::create_directories(path, error);
    if (!fs::is_directory(path, error)) return false;
    std::string probe = (fs::path(path) / ".vorn-capture-probe").string();
    std::FILE* file = platform::openFile(probe, "wb");
    if (!file) return false;
    std::fclose(file);
    fs::remove(probe, error);
    return true;
}

std::string frameFileName(int64_t frame) {
    char name[64];
    std::snprintf(name, sizeof name, "frame_%06lld.png", (long long)frame);
    return name;
}

}  // namespace

int runCapture(const CaptureOptions& options) {
    // Every path the user gave is taken before moving into the project's folder.
    std::string project = absolutePath(options.project);
    std::string outDir = absolutePath(options.outDir);
    std::string video = options.video.empty() ? std::string() : absolutePath(options.video);

    std::string whyNot;
    if (!readableFile(project, &whyNot))
        return failure("cannot read project " + platform::displayPath(options.project) + ": " + whyNot);
    if (!video.empty() && !platform::findProgram("ffmpeg"))
        return failure("--video needs ffmpeg, which is not installed");
    if (!writableFolder(outDir))
        return failure("cannot write into output folder " + platform::displayPath(options.outDir));
    fs::path projectPath(project);
    if (!platform::changeDirectory(projectPath.parent_path().string()))
        return failure("cannot enter the project's folder " +
                       platform::displayPath(projectPath.parent_path().string()));

    auto window = platform::GlWindow::create(platform::WindowMode::Hidden);
    if (!window) return failure("no OpenGL context");
    ScreenTarget screen;

    auto clockOwned = std::make_unique<CaptureClock>();
    CaptureClock* clock = clockOwned.get();
    ui::Player player(std::move(clockOwned));
    player.ui().screenFramebuffer = screen.framebuffer();
    player.showLoadingFrame([] {});
    if (!player.loadProject(projectPath.filename().string()))
        return failure("cannot load project " + platform::displayPath(options.project));
    if (options.sync && !player.engine().connectSync())
        return failure("no sync tracker answered on localhost port 1338");
    // Started before the first frame, so that frame already stands at --from.
    player.startPlayback();

    FrameSchedule schedule(options.from, options.to, options.fps);
    std::unique_ptr<VideoEncoder> encoder;
    if (!video.empty()) {
        // Missing or undecodable music (said when it was loaded): a video without sound.
        std::string music = clock->hasSound() ? absolutePath(platform::resolvePath(player.engine().musicFile)) : "";
        encoder = VideoEncoder::start(ScreenTarget::kWidth, ScreenTarget::kHeight, options.fps, options.from, music,
                                      video);
        if (!encoder) return failure("cannot start ffmpeg");
    }

    // A player reaching --from has run frames before it: switching nodes choose
    // their input from what their last frame parsed. One unsaved frame at the
    // first time stands in for those, so the first file shows the player's picture.
    if (options.from > 0.0 && schedule.frameCount() > 0) {
        clock->standAt(schedule.frameTimeMs(0));
        player.renderFrame();
    }

    ProgressBar progress(schedule.frameCount(), stderr, ::isatty(STDERR_FILENO) != 0);
    platform::Stopwatch stopwatch;
    std::vector<uint8_t> pixels;
    for (int64_t frame = 0; frame < schedule.frameCount(); ++frame) {
        clock->standAt(schedule.frameTimeMs(frame));
        player.renderFrame();
        screen.readRgb(pixels);
        std::string file = (fs::path(outDir) / frameFileName(frame)).string();
        if (!platform::writePngFile(file, ScreenTarget::kWidth, ScreenTarget::kHeight, 3, pixels.data()))
            return failure("cannot write " + platform::displayPath(file));
        if (encoder && !encoder->addFrame(pixels)) return failure("ffmpeg stopped taking frames");
        progress.update(frame + 1, stopwatch.seconds());
    }
    progress.finish(stopwatch.seconds());
    if (encoder && !encoder->finish()) return failure("ffmpeg could not write " + platform::displayPath(options.video));
    return 0;
}

}  // namespace vorn::capture
