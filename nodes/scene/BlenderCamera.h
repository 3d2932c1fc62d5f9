// "Camera_Blender": a camera that follows a path of frames read from a text
// file (CameraFrames.h), one frame per 1/FPS seconds of engine time. Between
// two frames the position is blended (not across a cut, where consecutive
// positions lie more than 2 apart) and the first frame's angles are used;
// from the last frame on, the last position with only its third angle.
// The projection is a 16:9 perspective with "Horizontal FOV", "Near Clip" and
// "Far Clip"; "Aspect Ratio" is kept for renderers, "Start Time (ms)" only
// stored.
#pragma once

#include "nodes/scene/CameraFrames.h"
#include "nodes/scene/CameraNode.h"

#include <string>
#include <vector>

namespace vorn::nodes {

class CameraNode_BlenderCamera : public CameraNode {
public:
    CameraNode_BlenderCamera(engine::Engine& owner, std::string name);

    // False before the first frame (negative time) or without frames; the
    // view is then the identity.
    bool process() override;

    std::string file;
    float fps = 60.0f;
    float startTimeMs = 0.0f;
    std::string loadedFile;
    std::vector<CameraFrame> frames;

private:
    void reloadFrames();
};

}  // namespace vorn::nodes
