// Any OBJ text, the bytes after a line "#mtl" served as every library it names:
// meshes and converted objects lie inside their lists with whole triangles, and
// the reader's number scanning agrees with the standard library's bit for bit.
#include <cstring>

#include "nodes/scene/ObjConversion.h"
#include "nodes/scene/ObjFile.h"
#include "nodes/scene/TextScan.h"
#include "tests/fuzz/FuzzCheck.h"

using namespace vorn;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t split = input.find("#mtl\n");
    std::string_view library = split == std::string_view::npos ? std::string_view() : input.substr(split + 5);
    nodes::MtlLibraryReader readLibrary = [&](const std::string&) {
        return std::optional<std::vector<uint8_t>>(std::vector<uint8_t>(library.begin(), library.end()));
    };
    std::size_t progressBytes = 0;
    nodes::ObjFile file = nodes::readObjFile(input.substr(0, split), "dir/fuzz.obj", readLibrary,
                                             [&](std::string_view text) { progressBytes += text.size(); });
    check(file.indices.size() % 3 == 0);
    for (const nodes::ObjMesh& mesh : file.meshes) {
        check(std::size_t(mesh.firstVertex) + mesh.vertexCount <= file.vertices.size());
        check(std::size_t(mesh.firstIndex) + mesh.indexCount <= file.indices.size());
        check(mesh.indexCount % 3 == 0 && mesh.vertexCount > 0 && mesh.indexCount > 0);
        check(mesh.material < int32_t(file.materials.size()));
        for (uint32_t index : file.indicesOf(mesh)) check(index < mesh.vertexCount);
    }
    for (const std::string& line : file.diagnostics) check(line.find('\n') == std::string::npos);

    nodes::ObjObjects converted = nodes::convertObjFile(file, size % 2 == 1);
    check(converted.objects.size() <= file.meshes.size());
    check(converted.bounds.has_value() == !file.vertices.empty());
    for (const nodes::ObjObject& object : converted.objects)
        for (uint32_t index : object.indices) check(index < object.vertices.size());

    for (std::size_t start = 0; start < size && start < 64; ++start) {
        const char* end = input.data() + std::min(size, start + 40);
        float fast = 0, slow = 0;
        const char* a = nodes::text::parseFloat(input.data() + start, end, fast);
        check(a == nodes::text::parseFloatSlowly(input.data() + start, end, slow));
        check(!a || std::memcmp(&fast, &slow, sizeof fast) == 0);
    }
    return 0;
}
