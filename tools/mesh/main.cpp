#include <iostream>

#include "tools/mesh/MeshTool.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    return vorn::tools::runMeshTool(args, std::cout, std::cerr);
}
