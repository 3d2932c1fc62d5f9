#include "ui/NodeTypes.h"

#include "engine/Engine.h"
#include "nodes/image/Compose.h"
#include "nodes/image/Glow.h"
#include "nodes/image/MotionBlur.h"
#include "nodes/image/ParallaxRenderer.h"
#include "nodes/image/Reader.h"
#include "nodes/image/Sequence.h"
#include "nodes/image/ShaderNodeTypes.h"
#include "nodes/image/TimeSwitch.h"
#include "nodes/image/Transform2D.h"
#include "nodes/procedural/ProceduralNodeTypes.h"
#include "nodes/scene/SceneNodeTypes.h"
#include "renderers/deferred/DeferredNodeTypes.h"
#include "ui/UI_ViewerNode.h"

namespace vorn::ui {

void attachNodeClasses(engine::NodeFactory& factory) {
    // New viewers draw through the target the shell gave the engine.
    factory.add("Viewer", [](engine::Engine& engine, const std::string& name) -> std::unique_ptr<engine::Node> {
        return std::make_unique<UI_ViewerNode>(engine, name, engine.uiTarget);
    });
    factory.add("2D_ImgReader", engine::constructs<nodes::ImageNode_Reader>());
    factory.add("2D_Transform", engine::constructs<nodes::ImageNode_Transform2D>());
    factory.add("MotionBlur", engine::constructs<nodes::ImageNode_MotionBlur>());
    factory.add("Time Switch Image", engine::constructs<nodes::ImageNode_TimeSwitch>());
    factory.add("Glow", engine::constructs<nodes::ImageNode_Glow>());
    factory.add("Sequencer", engine::constructs<nodes::ImageNode_Sequence>());
    factory.add("Compose", engine::constructs<nodes::ImageNode_Compose>());
    factory.add("2D Parallax Engine", engine::constructs<nodes::ImageNode_2DParallaxRenderer>());
    // "ShaderToy" and the description files of "Scripts\" as types of their own.
    nodes::attachShaderNodeTypes(factory);
    // Meshes, materials and cameras; procedural geometry and flakes; the deferred renderer.
    nodes::attachSceneNodeTypes(factory);
    nodes::attachProceduralNodeTypes(factory);
    nodes::attachDeferredNodeTypes(factory);
}

}  // namespace vorn::ui
