// "2D_ImgReader": an image file as a picture, without rendering anything. The
// file is loaded into a texture in slot 0 when its name, "Repeat" or
// "PreMultiply" changes; "Scale", "Position", "ScaleFac" and "Center" only
// shape the texture matrix, which places the picture on the 1920x1080 frame.
#pragma once

#include "nodes/image/ImageNode.h"
#include "render/GL_MemTexture.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vorn::nodes {

class ImageNode_Reader : public ImageNode {
public:
    enum ScaleMode : int32_t { Fit = 0, Reference1080p = 1, Stretch = 2 };

    ImageNode_Reader(engine::Engine& owner, std::string name);
    ~ImageNode_Reader() override;

    bool acceptsInput(int32_t index, const engine::Node& source) const override { return false; }
    bool process() override;

    // Parameters, in registration order.
    std::string filename;
    int32_t scaleMode = Fit;
    float position[2] = {0.5f, 0.5f};
    float scaleFac = 1.0f;
    bool center = false;
    bool repeat = false;
    bool preMultiply = false;

private:
    void reload();

    // The settings the current texture was loaded with.
    std::string loadedFilename_;
    bool loadedRepeat_ = false;
    bool loadedPreMultiply_ = false;
    std::unique_ptr<render::GL_MemTexture> texture_;
};

// The reader's texture matrix for an image of width x height pixels (0 x 0 when
// there is none): S x T with T the translation by the centred, negated
// position and S the scale the mode asks for.
render::Mat4 readerTextureMatrix(int width, int height, int32_t scaleMode, const float position[2],
                                 float scaleFac, bool center);

}  // namespace vorn::nodes
