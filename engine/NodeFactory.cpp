#include "engine/NodeFactory.h"

#include <algorithm>

#include "engine/Node.h"
#include "platform/Debug.h"

namespace vorn::engine {

namespace {

// Type name -> class. The first 22 form the editor's menu, in its order; the
// rest can be created by a project file but are not offered.
// "Random Dots" and "Randomize Material" are offered, but no class answers.
// "3D_TransformFromCamera" is a GeometryNode with the FromCamera operations,
// assembled by its registration rather than by a constructor of its own.
constexpr BuiltinNodeType kBuiltinTypes[] = {
    {"Viewer", "UI_ViewerNode", true},  // built with the engine's uiTarget
    {"2D_ImgReader", "ImageNode_Reader", true},
    {"2D_Transform", "ImageNode_Transform2D", true},
    {"3D_ObjReader", "GeometryNode_ObjReader", true},
    {"3D_TransformFromCamera", "Transform3DNode_FromCamera", true},
    {"Camera_Hover", "CameraNode_HoverCamera", true},
    {"Camera_Blender", "CameraNode_BlenderCamera", true},
    {"PBR_Material", "PBR_MaterialNode", true},
    {"PBR_FixMaterial", "PBR_FixMaterialNode", true},
    {"PBR_AutoMaterial", "GeometryNode_AutoPBRMaterial", true},
    {"Render_PowerIlo", "ImageNode_PowerIlo", true},
    {"3D_Primitive", "GeometryNode_Primitives", true},
    {"MotionBlur", "ImageNode_MotionBlur", true},
    {"Time Switch Image", "ImageNode_TimeSwitch", true},
    {"Time Switch Camera", "Transform3DNode_TimeSwitch", true},
    {"Combine Geometry", "GeometryNode_CombineGeometry", true},
    {"Random Dots", nullptr, true},
    {"Randomize Material", nullptr, true},
    {"Glow", "ImageNode_Glow", true},
    {"Sequencer", "ImageNode_Sequence", true},
    {"Compose", "ImageNode_Compose", true},
    {"Render_Flake", "ImageNode_FlakeRender", true},
    {"Material", "RAD_MaterialNode", false},
    {"FallingModel", "GeometryNode_FallingModels", false},
    {"2D Parallax Engine", "ImageNode_2DParallaxRenderer", false},
    {"Particle Mesher", "GeometryNode_ParticleMesher", false},
    {"ShaderToy", "ImageNode_ShaderToy", false},
};

}  // namespace

std::span<const BuiltinNodeType> builtinNodeTypes() { return kBuiltinTypes; }

bool isBuiltinTypeName(const std::string& typeName) {
    return std::any_of(std::begin(kBuiltinTypes), std::end(kBuiltinTypes),
                       [&](const BuiltinNodeType& type) { return typeName == type.typeName; });
}

bool NodeFactory::add(const std::string& typeName, NodeConstructor construct) {
    for (const BuiltinNodeType& type : kBuiltinTypes)
        if (typeName == type.typeName && !type.className) {
            platform::debugLine("node type " + typeName + " has no class and cannot be given one");
            return false;
        }
    constructors_[typeName] = std::move(construct);
    return true;
}

std::unique_ptr<Node> NodeFactory::create(Engine& engine, const std::string& typeName,
                                          const std::string& nodeName) const {
    auto found = constructors_.find(typeName);
    if (found == constructors_.end() || !found->second) return nullptr;
    return found->second(engine, nodeName);
}

}  // namespace vorn::engine
