#include "nodes/scene/AutoPBRMaterial.h"

#include "engine/Engine.h"
#include "platform/Debug.h"
#include "render/ImageFile.h"

namespace vorn::nodes {

GeometryNode_AutoPBRMaterial::GeometryNode_AutoPBRMaterial(engine::Engine& owner, std::string name)
    : GeometryNode(owner, std::move(name)) {
    sharesObjects = true;
    setInputCount(1 + kOverrides);
    inputNames[0] = "Objects";
    for (int k = 1; k <= kOverrides; ++k) {
        inputNames[k] = std::to_string(k) + "_Mat";
        owner.addString(*this, std::to_string(k) + "_Mat Object Name:", &objectNames[k - 1], "");
    }
}

GeometryNode_AutoPBRMaterial::~GeometryNode_AutoPBRMaterial() = default;

bool GeometryNode_AutoPBRMaterial::acceptsInput(int32_t index, const engine::Node& source) const {
    if (index == 0) return source.kind() == engine::NodeKind::Geometry;
    return index <= kOverrides && source.kind() == engine::NodeKind::Material;
}

bool GeometryNode_AutoPBRMaterial::process() {
    if (owner->drawingEnabled == 0) return true;
    GeometryNode* input = geometryInput(*this, 0);
    objects.clear();
    material = nullptr;
    if (input) {
        objects.reserve(input->objects.size());
        for (const MeshObject& object : input->objects) {
            MeshObject copy = object;
            copy.matrix = render::matrixProduct(input->modelMatrix, object.matrix);
            copy.material = object.material ? input->material : cachedMaterial(object.name);
            objects.push_back(std::move(copy));
        }
        material = input->material;
    }

    for (int k = 1; k <= kOverrides; ++k) {
        const PbrMaterial* settings = asPbr(materialInput(*this, k));
        if (!settings) continue;
        // A name no object has had gets an empty entry and changes nothing.
        std::unique_ptr<PbrMaterial>& target = materialCache[objectNames[k - 1]];
        if (!target) continue;
        target->albedoColor = settings->albedoColor;
        target->albedoIntensity = settings->albedoIntensity;
        target->illumColor = settings->illumColor;
        target->illumination = settings->illumination;
        target->normalStrength = settings->normalStrength;
        target->receiveDynRef = settings->receiveDynRef;
        target->inDynRef = settings->inDynRef;
    }
    return true;
}

std::string GeometryNode_AutoPBRMaterial::mapPath(const std::string& objectName, const char* channel) const {
    return owner->resourceDirectory + "\\assets\\" + objectName + "_" + channel + ".png";
}

PbrMaterial* GeometryNode_AutoPBRMaterial::cachedMaterial(const std::string& objectName) {
    std::unique_ptr<PbrMaterial>& cached = materialCache[objectName];
    if (cached) return cached.get();
    cached = std::make_unique<PbrMaterial>();
    cached->albedoMap = loadMap(objectName, "albedo");
    cached->roughnessMap = loadMap(objectName, "roughness");
    cached->metalnessMap = loadMap(objectName, "metalness");
    cached->lightMap = loadMap(objectName, "emissive");
    cached->normalMap = loadMap(objectName, "normal");
    return cached.get();
}

render::GL_Image* GeometryNode_AutoPBRMaterial::loadMap(const std::string& objectName, const char* channel) {
    const std::string path = mapPath(objectName, channel);
    // The texture is made before the log line is written, so that the
    // decoder's reason for refusing a file and the texture-memory line each
    // stay lines of their own.
    render::LoadedImage image = render::LoadImageFile(path, false);
    render::GL_Image* map = nullptr;
    if (!image.pixels.empty()) {
        maps_.push_back(std::make_unique<render::GL_MemTexture>(image.width, image.height,
                                                                image.channels == 3 ? GL_RGB : GL_RGBA, GL_REPEAT,
                                                                GL_REPEAT, image.pixels.data()));
        map = maps_.back().get();
    }
    platform::debugOutput("Loading Auto PBR from: " + path + (map ? " -> OK!\n" : " -> FAILED!\n") + "\n");
    return map;
}

}  // namespace vorn::nodes
