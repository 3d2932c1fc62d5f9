#include "nodes/image/Reader.h"

#include "engine/Engine.h"
#include "render/ImageFile.h"

namespace vorn::nodes {

ImageNode_Reader::ImageNode_Reader(engine::Engine& owner, std::string name) : ImageNode(owner, std::move(name)) {
    owner.addString(*this, "Filename", &filename, "");
    owner.addInt(*this, "Scale", &scaleMode, Fit, {"FIT", "1080p REFERENCE", "STRETCH"});
    owner.addVec2(*this, "Position", position, {0.5f, 0.5f}, engine::Vec2Style::Position);
    owner.addFloat(*this, "ScaleFac", &scaleFac, 0.0001f, 10.0f, 4, 1.0f, true);
    owner.addBool(*this, "Center", &center, false);
    owner.addBool(*this, "Repeat", &repeat, false);
    owner.addBool(*this, "PreMultiply", &preMultiply, false);
}

ImageNode_Reader::~ImageNode_Reader() = default;

bool ImageNode_Reader::process() {
    if (filename != loadedFilename_ || repeat != loadedRepeat_ || preMultiply != loadedPreMultiply_) reload();
    hasError = images[0] == nullptr;
    int width = texture_ ? texture_->width : 0;
    int height = texture_ ? texture_->height : 0;
    textureMatrix = readerTextureMatrix(width, height, scaleMode, position, scaleFac, center);
    return true;
}

// A failed load is not retried until one of the three settings changes again.
void ImageNode_Reader::reload() {
    loadedFilename_ = filename;
    loadedRepeat_ = repeat;
    loadedPreMultiply_ = preMultiply;
    images[0] = nullptr;
    texture_.reset();
    // An empty name is "no picture", not a file to complain about.
    if (filename.empty()) return;

    render::LoadedImage image = render::LoadImageFile(filename, preMultiply);
    if (image.pixels.empty()) return;
    GLint wrap = repeat ? GL_REPEAT : GL_CLAMP_TO_BORDER;
    texture_ = std::make_unique<render::GL_MemTexture>(image.width, image.height,
                                                       image.channels == 3 ? GL_RGB : GL_RGBA, wrap, wrap,
                                                       image.pixels.data());
    images[0] = texture_.get();
}

render::Mat4 readerTextureMatrix(int width, int height, int32_t scaleMode, const float position[2],
                                 float scaleFac, bool center) {
    float w = float(width);
    float h = float(height);
    float k = scaleFac;
    float cx = 0.0f, cy = 0.0f;
    if (center) {
        cx = (1.0f - w / 1920.0f) * 0.5f;
        cy = (1.0f - h / 1080.0f) * 0.5f;
    }
    float tx = 0.5f - (cx + position[0]);
    float ty = 0.5f - (cy + position[1]);

    const float kWide = 1.7777778f;  // 16:9
    float sx = 1.0f, sy = 1.0f, sz = 1.0f;
    bool hasImage = width > 0 && height > 0;
    if (hasImage) {
        float a = w / h;
        switch (scaleMode) {
            case ImageNode_Reader::Fit:
                // Wide pictures keep the full width, tall ones the full height.
                // An exactly square one gets the factor itself on both axes:
                // saved productions were framed with that rule, so it stays.
                if (a > 1.0f) {
                    sx = 1.0f / k;
                    sy = (a / kWide) / k;
                } else if (a < 1.0f) {
                    sx = (1.0f / (a / kWide)) / k;
                    sy = 1.0f / k;
                } else {
                    sx = k;
                    sy = k;
                }
                sz = 0.0f;
                break;
            case ImageNode_Reader::Reference1080p:
                sx = (1.0f / (w / 1920.0f)) / k;
                sy = (1.0f / (h / 1080.0f)) / k;
                sz = 0.0f;
                break;
            case ImageNode_Reader::Stretch:
                sz = 0.0f;
                break;
            default:
                break;
        }
    }
    return render::matrixProduct(render::scaleMatrix(sx, sy, sz), render::translationMatrix(tx, ty, 0.0f));
}

}  // namespace vorn::nodes
