// Arbitrary OBJ text, with the bytes after a line "#mtl" served as every
// ".mtl" library it names: every mesh must lie inside the file's lists with
// whole triangles and indices inside its own vertices, the conversion must
// give objects that do too, and the reader's own number scanning must agree
// with the standard library's.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "nodes/scene/ObjConversion.h"
#include "nodes/scene/ObjFile.h"
#include "nodes/scene/TextScan.h"

using namespace vorn;

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

void checkNumbers(std::string_view text) {
    for (std::size_t start = 0; start < text.size() && start < 64; ++start) {
        const char* begin = text.data() + start;
        const char* end = text.data() + std::min(text.size(), start + 40);
        float fast = 0, slow = 0;
        const char* a = nodes::text::parseFloat(begin, end, fast);
        const char* b = nodes::text::parseFloatSlowly(begin, end, slow);
        check(a == b);
        check(!a || std::memcmp(&fast, &slow, sizeof fast) == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t split = input.find("#mtl\n");
    std::string_view obj = input.substr(0, split);
    std::string library(split == std::string_view::npos ? std::string_view() : input.substr(split + 5));
    nodes::MtlLibraryReader readLibrary = [&](const std::string&) {
        return std::optional<std::vector<uint8_t>>(std::vector<uint8_t>(library.begin(), library.end()));
    };
    std::size_t progressBytes = 0;
    nodes::ProgressText progress = [&](std::string_view text) { progressBytes += text.size(); };

    nodes::ObjFile file = nodes::readObjFile(obj, "dir/fuzz.obj", readLibrary, progress);
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

    checkNumbers(input);
    return 0;
}
