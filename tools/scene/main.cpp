#include <iostream>

#include "tools/scene/SceneTool.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return vorn::tools::runSceneTool(args, std::cout, std::cerr);
}
