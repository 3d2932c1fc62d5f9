#include "nodes/scene/BlenderCamera.h"

#include "engine/Engine.h"
#include "nodes/scene/GeometryNode.h"
#include "platform/Debug.h"
#include "platform/Paths.h"

#include <cmath>

namespace vorn::nodes {

namespace {

using render::Mat4;

Mat4 translation(const std::array<float, 3>& p) { return render::translationMatrix(p[0], p[1], p[2]); }

}  // namespace

CameraNode_BlenderCamera::CameraNode_BlenderCamera(engine::Engine& owner, std::string name)
    : CameraNode(owner, std::move(name)) {
    owner.addString(*this, "File", &file, "");
    owner.addFloat(*this, "FPS", &fps, 1.0f, 100.0f, 0, 60.0f, true);
    owner.addFloat(*this, "Start Time (ms)", &startTimeMs, 0.0f, 9999999.0f, 0, 0.0f, true);
    owner.addFloat(*this, "Aspect Ratio", &aspect, 0.1f, 5.0f, 4, 1.7777778f, true);
    owner.addFloat(*this, "Horizontal FOV", &fov, 1.0f, 180.0f, 2, 60.0f, true);
    owner.addFloat(*this, "Near Clip", &nearClip, 0.1f, 100000.0f, 2, 0.1f, true);
    owner.addFloat(*this, "Far Clip", &farClip, 1.0f, 100000.0f, 2, 10000.0f, true);
}

bool CameraNode_BlenderCamera::process() {
    if (file != loadedFile) reloadFrames();
    viewMatrix = render::identityMatrix();
    // The aspect is the constant 16:9 of the frame, whatever "Aspect Ratio" says.
    projectionMatrix = perspectiveMatrix(fov, 1.7777778f, nearClip, farClip);

    const float t = owner->time;
    const float position = t * fps;
    const double i = std::trunc(double(position));
    if (!(i >= 0.0) || frames.empty()) return false;

    if (i < double(frames.size()) - 1.0) {
        const std::size_t k = std::size_t(i);
        const CameraFrame& f = frames[k];
        const CameraFrame& g = frames[k + 1];
        // The fraction of a frame divided by fps once more: productions are timed with it.
        const float w = (position - float(k)) / fps;
        const float dx = g.position[0] - f.position[0], dy = g.position[1] - f.position[1],
                    dz = g.position[2] - f.position[2];
        std::array<float, 3> p = f.position;
        if (!(std::sqrt(dx * dx + dy * dy + dz * dz) > 2.0f))
            for (int a = 0; a < 3; ++a) p[a] = (1.0f - w) * f.position[a] + w * g.position[a];
        Mat4 r = render::matrixProduct(render::rotationX(f.angles[0] * kDegreesToRadians),
                                       render::rotationY(f.angles[1] * kDegreesToRadians));
        r = render::matrixProduct(r, render::rotationZ(f.angles[2] * kDegreesToRadians));
        viewMatrix = render::matrixProduct(r, translation(p));
    } else {
        // Only the last frame's third angle: saved productions are timed around it.
        const CameraFrame& z = frames.back();
        viewMatrix = render::matrixProduct(render::rotationZ(z.angles[2] * kDegreesToRadians), translation(z.position));
    }
    return true;
}

void CameraNode_BlenderCamera::reloadFrames() {
    loadedFile = file;
    frames.clear();
    hasError = false;
    if (file.empty()) return;
    std::string whyNot;
    std::optional<CameraFrames> read = loadCameraFrames(file, &whyNot);
    if (!read) {
        platform::debugLine("Camera_Blender " + name + ": cannot read camera path " + platform::displayPath(file) +
                            ": " + whyNot);
        hasError = true;
        return;
    }
    for (const std::string& line : read->diagnostics) platform::debugLine(line);
    frames = std::move(read->frames);
}

}  // namespace vorn::nodes
