#include "nodes/scene/CameraFrames.h"

#include "nodes/scene/TextScan.h"
#include "platform/FileLimits.h"
#include "platform/Paths.h"

namespace vorn::nodes {

CameraFrames readCameraFrames(std::string_view content, std::string_view path) {
    constexpr float kQuarterTurn = 1.5707964f;
    constexpr float kDegrees = 57.295776f;
    CameraFrames out;
    std::vector<CameraFrame>& frames = out.frames;
    FrameFileProblems problems;
    forEachFrameLine(content, problems, [&](const FrameLine& read, std::size_t lineNumber) {
        const int32_t n = read.frame;
        const auto& c = read.values;  // c[0] is the first number after the frame (c1)
        CameraFrame frame;
        frame.position = {-c[0], c[2], c[1]};
        frame.further = {c[3], c[4], c[5]};
        frame.angles = {(c[6] - kQuarterTurn) * kDegrees, -c[8] * kDegrees, -c[7] * kDegrees};

        const int64_t count = int64_t(frames.size());
        if (count == 0 || n <= 0 || n == count + 1) {
            if (frames.size() >= kMaxFrames) problems.addTooFar(lineNumber);
            else frames.push_back(frame);
        } else if (n <= count) {
            return;
        } else {
            const int64_t m = int64_t(n) - count;
            if (m > kMaxGapFrames || frames.size() + std::size_t(m) > kMaxFrames) {
                problems.addTooFar(lineNumber);
                return;
            }
            const std::array<float, 3> q = frames.back().position;
            for (int64_t k = 1; k <= m; ++k) {
                const float w = float(k) / float(m);
                CameraFrame filled = frame;
                for (int a = 0; a < 3; ++a) filled.position[a] = (1.0f - w) * q[a] + w * frame.position[a];
                frames.push_back(filled);
            }
        }
    });
    reportFrameFileProblems(problems, path, out.diagnostics);
    return out;
}

std::optional<CameraFrames> loadCameraFrames(std::string_view path, std::string* whyNot) {
    std::optional<std::vector<uint8_t>> bytes = platform::readFile(path, platform::kMaxTextFileBytes, whyNot);
    if (!bytes) return std::nullopt;
    return readCameraFrames(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), path);
}

}  // namespace vorn::nodes
