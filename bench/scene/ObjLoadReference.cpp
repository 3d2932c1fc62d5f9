// The same load through another OBJ library, as a whole process, for
// compare-mesh-load.sh: read FILE with its libraries, triangulated, and print
// the shape, vertex and triangle counts so the load cannot be optimised away.
#include <tiny_obj_loader.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: obj-load-reference FILE.obj\n");
        return 2;
    }
    tinyobj::ObjReaderConfig config;
    config.triangulate = true;
    tinyobj::ObjReader reader;
    if (!reader.ParseFromFile(argv[1], config)) {
        std::fprintf(stderr, "%s\n", reader.Error().c_str());
        return 1;
    }
    std::size_t triangles = 0;
    for (const tinyobj::shape_t& shape : reader.GetShapes()) triangles += shape.mesh.num_face_vertices.size();
    std::printf("{\"shapes\": %zu, \"positions\": %zu, \"triangles\": %zu}\n", reader.GetShapes().size(),
                reader.GetAttrib().vertices.size() / 3, triangles);
    return 0;
}
