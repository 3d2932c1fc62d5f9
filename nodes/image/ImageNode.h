// The base of every node whose result is a picture (kind 1). Pictures are not
// copied between nodes: a node exposes up to four image slots (slot 0 the main
// picture, 1-3 auxiliary ones a shader input can pick) and a texture matrix that
// maps the full-screen coordinate (uv, 0, 1) to where its slots are sampled.
// A consumer samples the slot through that matrix. Slots either point at an
// image the node owns or at one borrowed from an input for the frame.
#pragma once

#include "engine/Node.h"
#include "render/GL_Image.h"
#include "render/Matrix.h"

#include <GL/glew.h>

#include <array>

namespace vorn::nodes {

class ImageNode : public engine::Node {
public:
    static constexpr int kSlotCount = 4;

    using engine::Node::Node;

    engine::NodeKind kind() const override { return engine::NodeKind::Image; }

    std::array<render::GL_Image*, kSlotCount> images{};  // non-owning views
    render::Mat4 textureMatrix = render::identityMatrix();
    // Alpha holds the eye distance of the picture; only renderers publish one.
    GLuint depthChannelTexture = 0;
};

// The wiring rule of most image consumers: a present image node.
bool isImageNode(const engine::Node* node);

// Input `index` of node when it is an image node, else null.
ImageNode* imageInput(const engine::Node& node, int index);

}  // namespace vorn::nodes
