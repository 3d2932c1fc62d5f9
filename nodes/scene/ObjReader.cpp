#include "nodes/scene/ObjReader.h"

#include "engine/Engine.h"
#include "nodes/scene/Material.h"
#include "nodes/scene/ObjConversion.h"
#include "nodes/scene/ObjFile.h"
#include "platform/Debug.h"
#include "platform/Paths.h"

#include <cmath>
#include <cstdio>

namespace vorn::nodes {

GeometryNode_ObjReader::GeometryNode_ObjReader(engine::Engine& owner, std::string name)
    : GeometryNode(owner, std::move(name)) {
    setInputCount(1);
    inputNames[0] = "Material";
    owner.addString(*this, "Filename", &filename, "");
    owner.addString(*this, "Animation Keys", &keysFilename, "");
    owner.addFloat3(*this, "Translate", translate, -50.0f, 50.0f, 2, {0, 0, 0});
    owner.addFloat3(*this, "Rotate", rotate, -360.0f, 360.0f, 2, {0, 0, 0});
    owner.addFloat3(*this, "AutoRotate", autoRotate, -3000.0f, 3000.0f, 2, {0, 0, 0});
    owner.addFloat(*this, "Scale", &scale, -100.0f, 100.0f, 2, 1.0f, true);
    owner.addBool(*this, "Center", &centerOption, false);
    owner.addBool(*this, "Normalize", &normalizeOption, false);
    owner.addBool(*this, "Unwrap Def.", &unwrapOption, false);
    owner.addBool(*this, "Center Pivot", &centerPivotOption, false);
    owner.addBool(*this, "Invert Normals", &invertNormalsOption, false);
}

bool GeometryNode_ObjReader::acceptsInput(int32_t, const engine::Node& source) const {
    return source.kind() == engine::NodeKind::Material;
}

uint32_t GeometryNode_ObjReader::optionBits() const {
    return (centerOption ? Center : 0u) | (normalizeOption ? Normalize : 0u) | (unwrapOption ? UnwrapDefault : 0u) |
           (centerPivotOption ? CenterPivot : 0u) | (invertNormalsOption ? InvertNormals : 0u);
}

bool GeometryNode_ObjReader::process() {
    const uint32_t bits = optionBits();
    if (filename != loadedFilename || bits != loadFlags) {
        loadFlags = bits;
        reloadMesh();
    }
    if (keysFilename != loadedKeysFilename) reloadKeys();
    hasError = meshFailed_ || keysFailed_;

    const float t = owner->time;
    if (!keys.empty()) {
        // Keys at 60 a second; the blend weight is the fraction of a frame
        // divided by 60 once more, as saved productions were timed with it.
        const float frame = t * 60.0f;
        const double i = std::trunc(double(frame));
        if (i >= 0.0 && i < double(keys.size()) - 1.0) {
            const std::size_t k = std::size_t(i);
            const float w = (frame - float(k)) / 60.0f;
            for (int a = 0; a < 3; ++a)
                translate[a] = (1.0f - w) * keys[k].position[a] + w * keys[k + 1].position[a];
        } else {
            for (int a = 0; a < 3; ++a) translate[a] = keys.back().position[a];
        }
    }

    render::Vec3 p{translate[0], translate[1], translate[2]};
    if (centerPivotOption)
        for (int a = 0; a < 3; ++a) p[a] += pivot[a];
    render::Vec3 angles{rotate[0] + t * autoRotate[0], rotate[1] + t * autoRotate[1], rotate[2] + t * autoRotate[2]};
    modelMatrix = composePlacement(p, angles, scale);

    material = materialInput(*this, 0);
    return true;
}

void GeometryNode_ObjReader::reloadMesh() {
    loadedFilename = filename;
    modelMatrix = render::identityMatrix();
    releaseObjects();
    meshFailed_ = false;
    if (filename.empty()) return;

    std::string whyNot;
    std::optional<ObjFile> file = loadObjFile(
        filename, [](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }, &whyNot);
    if (!file || !file->loaded()) {
        platform::debugLine("3D_ObjReader " + name + ": no model from " + platform::displayPath(filename) + ": " +
                            (!file ? whyNot.empty() ? std::string("not an .obj file") : whyNot
                                   : std::string("no faces or vertices")));
        meshFailed_ = true;
        return;
    }
    for (const std::string& line : file->diagnostics) platform::debugLine(line);

    ObjObjects converted = convertObjFile(*file, invertNormalsOption);
    if (converted.bounds && loadFlags != 0)
        for (int a = 0; a < 3; ++a) pivot[a] = (converted.bounds->min[a] + converted.bounds->max[a]) * 0.5f;
    for (const ObjObject& object : converted.objects)
        objects.push_back(createMeshObject(object.name, object.vertices, object.indices));
}

void GeometryNode_ObjReader::reloadKeys() {
    loadedKeysFilename = keysFilename;
    keys.clear();
    keysFailed_ = false;
    if (keysFilename.empty()) return;
    std::string whyNot;
    std::optional<AnimationKeys> read =
        loadAnimationKeys(keysFilename, [](std::string_view text) { platform::debugOutput(text); }, &whyNot);
    if (!read) {
        platform::debugLine("3D_ObjReader " + name + ": cannot read animation keys " +
                            platform::displayPath(keysFilename) + ": " + whyNot);
        keysFailed_ = true;
        return;
    }
    for (const std::string& line : read->diagnostics) platform::debugLine(line);
    keys = std::move(read->keys);
}

}  // namespace vorn::nodes
