// The OBJ reader: a Wavefront OBJ text and the material libraries it names,
// read into meshes of triangles. Bytes in, plain records out; no GL, no
// engine, so "3D_ObjReader", vorn-mesh and the fuzz target run the same code.
//
// Faces are triangulated as read (FaceTriangulation.h) and every face corner
// becomes a vertex of its own. Meshes are finished at object lines ("o", "g"
// and any line starting with 'g'), at "usemtl" lines (as the object's name
// followed by "_2") and at the end of the file. Malformed lines (too few
// numbers, a number that does not read, an index of 0 or outside its list)
// are skipped whole and reported in one diagnostic line per file.
#pragma once

#include "nodes/scene/MeshData.h"
#include "nodes/scene/MtlLibrary.h"
#include "platform/LargeBuffer.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::nodes {

// A finished mesh: ranges of the file's vertex and index lists, since a mesh
// is always the run of corners read since the previous one was finished.
// Its indices count from its first vertex.
struct ObjMesh {
    std::string name;
    uint32_t firstVertex = 0;
    uint32_t vertexCount = 0;
    uint32_t firstIndex = 0;
    uint32_t indexCount = 0;  // three per triangle
    int32_t material = -1;    // into ObjFile::materials; -1 when none is attached
};

struct ObjFile {
    std::vector<ObjMesh> meshes;         // in file order
    // Every face corner of the file, as read, and three indices per triangle,
    // each from its mesh's first vertex. Lists of megabytes: see LargeBuffer.h.
    platform::LargeVector<MeshVertex> vertices;
    platform::LargeVector<uint32_t> indices;
    std::vector<MtlMaterial> materials;  // every record of every library read
    std::vector<std::string> diagnostics;  // one line each, without line end

    // True when the file gave any mesh, vertex or index.
    bool loaded() const { return !meshes.empty() || !vertices.empty() || !indices.empty(); }
    std::span<const MeshVertex> verticesOf(const ObjMesh& mesh) const {
        return std::span(vertices).subspan(mesh.firstVertex, mesh.vertexCount);
    }
    std::span<const uint32_t> indicesOf(const ObjMesh& mesh) const {
        return std::span(indices).subspan(mesh.firstIndex, mesh.indexCount);
    }
};

// The bytes of the material library at path, or nothing (skipped silently).
using MtlLibraryReader = std::function<std::optional<std::vector<uint8_t>>(const std::string& path)>;
// Where the reader's progress text goes; null for none.
using ProgressText = std::function<void(std::string_view)>;

// Reads the OBJ text of the file at path (which only locates its libraries).
ObjFile readObjFile(std::string_view content, std::string_view path, const MtlLibraryReader& readLibrary,
                    const ProgressText& progress);

// The load of the node and of vorn-mesh: the path must end in ".obj", ".OBJ"
// or ".Obj"; the file is read in chunks of whole lines (platform::openFile),
// its libraries through platform::readFile.
// Nothing when the path is refused or the file cannot be read, with the reason
// in whyNot (empty for a refused extension).
std::optional<ObjFile> loadObjFile(std::string_view path, const ProgressText& progress, std::string* whyNot);

}  // namespace vorn::nodes
