// The vorn-mesh command line, for demo makers to see a model exactly as
// "3D_ObjReader" will load it (all its options off):
//   vorn-mesh FILE.obj [--geometry]
// prints one JSON object on out: "objects" (the node's object list: name,
// vertex count, triangle count; with --geometry also the converted
// "positions", "normals", "uvs" and "indices" as flat lists), "meshes" (the
// reader's meshes in file order with their attached material's name or null),
// "materials" (every library record, fields under their MTL key names) and
// "bounds" (of the converted positions; absent without vertices).
// The reader's progress text and diagnostics go to err. A file that loads
// nothing gets one line on err and status 1; a wrong command line status 2.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vorn::tools {

int runMeshTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vorn::tools
