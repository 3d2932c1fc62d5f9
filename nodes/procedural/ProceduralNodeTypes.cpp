#include "nodes/procedural/ProceduralNodeTypes.h"

#include "engine/NodeFactory.h"
#include "nodes/procedural/CombineGeometry.h"
#include "nodes/procedural/FallingModels.h"
#include "nodes/procedural/FlakeRender.h"
#include "nodes/procedural/ParticleMesher.h"
#include "nodes/procedural/Primitives.h"

namespace vorn::nodes {

void attachProceduralNodeTypes(engine::NodeFactory& factory) {
    factory.add("3D_Primitive", engine::constructs<GeometryNode_Primitives>());
    factory.add("Particle Mesher", engine::constructs<GeometryNode_ParticleMesher>());
    factory.add("FallingModel", engine::constructs<GeometryNode_FallingModels>());
    factory.add("Combine Geometry", engine::constructs<GeometryNode_CombineGeometry>());
    factory.add("Render_Flake", engine::constructs<ImageNode_FlakeRender>());
}

}  // namespace vorn::nodes
