#include <iostream>

#include "tools/project/ProjectTool.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return vorn::tools::runProjectTool(args, std::cout, std::cerr);
}
