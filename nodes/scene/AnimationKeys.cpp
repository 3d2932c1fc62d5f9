#include "nodes/scene/AnimationKeys.h"

#include "nodes/scene/TextScan.h"
#include "platform/FileLimits.h"
#include "platform/Paths.h"

#include <cstdio>

namespace vorn::nodes {

AnimationKeys readAnimationKeys(std::string_view content, std::string_view path, const KeyEcho& echo) {
    AnimationKeys out;
    std::vector<AnimationKey>& keys = out.keys;
    FrameFileProblems problems;
    forEachFrameLine(content, problems, [&](const FrameLine& read, std::size_t lineNumber) {
        const int32_t f = read.frame;
        const auto& c = read.values;
        if (echo) {
            char text[128];
            std::snprintf(text, sizeof text, "%d: %.3f %.3f %.3f\n", f, double(c[0]), double(c[1]), double(c[2]));
            echo(text);
        }
        const AnimationKey key{f, {c[0], -c[2], -c[1]}};
        const int64_t count = int64_t(keys.size());
        if (count == 0 || f <= 0 || f == count + 1) {
            if (keys.size() >= kMaxFrames) problems.addTooFar(lineNumber);
            else keys.push_back(key);
        } else if (f < count) {
            return;
        } else {
            const int64_t n = int64_t(f) - count + 1;
            if (n > kMaxGapFrames || keys.size() + std::size_t(n) > kMaxFrames) {
                problems.addTooFar(lineNumber);
                return;
            }
            const std::array<float, 3> q = keys.back().position;
            for (int64_t k = 1; k <= n; ++k) {
                const float w = float(k) / float(n);
                AnimationKey blended{f, {}};
                for (int a = 0; a < 3; ++a) blended.position[a] = (1.0f - w) * q[a] + w * key.position[a];
                keys.push_back(blended);
            }
        }
    });
    reportFrameFileProblems(problems, path, out.diagnostics);
    return out;
}

std::optional<AnimationKeys> loadAnimationKeys(std::string_view path, const KeyEcho& echo, std::string* whyNot) {
    std::optional<std::vector<uint8_t>> bytes = platform::readFile(path, platform::kMaxTextFileBytes, whyNot);
    if (!bytes) return std::nullopt;
    return readAnimationKeys(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), path,
                             echo);
}

}  // namespace vorn::nodes
