#include "nodes/scene/SceneNodeTypes.h"

#include "engine/NodeFactory.h"
#include "nodes/scene/AutoPBRMaterial.h"
#include "nodes/scene/BlenderCamera.h"
#include "nodes/scene/HoverCamera.h"
#include "nodes/scene/ObjReader.h"
#include "nodes/scene/PbrFixMaterial.h"
#include "nodes/scene/PbrMaterial.h"
#include "nodes/scene/RadMaterial.h"
#include "nodes/scene/TimeSwitchCamera.h"
#include "nodes/scene/TransformFromCamera.h"

namespace vorn::nodes {

void attachSceneNodeTypes(engine::NodeFactory& factory) {
    factory.add("PBR_AutoMaterial", engine::constructs<GeometryNode_AutoPBRMaterial>());
    factory.add("3D_ObjReader", engine::constructs<GeometryNode_ObjReader>());
    factory.add("Material", engine::constructs<RAD_MaterialNode>());
    factory.add("PBR_Material", engine::constructs<PBR_MaterialNode>());
    factory.add("PBR_FixMaterial", engine::constructs<PBR_FixMaterialNode>());
    factory.add("Camera_Hover", engine::constructs<CameraNode_HoverCamera>());
    factory.add("Camera_Blender", engine::constructs<CameraNode_BlenderCamera>());
    factory.add("3D_TransformFromCamera", engine::constructs<Transform3DNode_FromCamera>());
    factory.add("Time Switch Camera", engine::constructs<Transform3DNode_TimeSwitch>());
}

}  // namespace vorn::nodes
