#include "nodes/scene/ObjConversion.h"

#include <algorithm>
#include <unordered_map>

namespace vorn::nodes {

ObjObjects convertObjFile(ObjFile& file, bool invertNormals) {
    ObjObjects result;
    if (!file.vertices.empty()) {
        ObjBounds b{{999999.0f, 999999.0f, 999999.0f}, {-999999.0f, -999999.0f, -999999.0f}};
        const float n = invertNormals ? -1.0f : 1.0f;
        for (MeshVertex& v : file.vertices) {
            v.position[1] = -v.position[1];
            v.normal[0] = n * v.normal[0];
            v.normal[1] = -n * v.normal[1];
            v.normal[2] = n * v.normal[2];
            v.uv[1] = 1.0f - v.uv[1];
            for (int k = 0; k < 3; ++k) {
                b.min[k] = std::min(b.min[k], v.position[k]);  // a NaN never moves them
                b.max[k] = std::max(b.max[k], v.position[k]);
            }
        }
        result.bounds = b;
    }

    std::unordered_map<std::string_view, std::size_t> slotOfName;
    for (const ObjMesh& mesh : file.meshes) {
        ObjObject object{mesh.name, file.verticesOf(mesh), file.indicesOf(mesh)};
        auto [slot, added] = slotOfName.try_emplace(mesh.name, result.objects.size());
        if (added) result.objects.push_back(object);
        else result.objects[slot->second] = object;
    }
    return result;
}

}  // namespace vorn::nodes
