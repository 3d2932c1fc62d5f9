// The vorn-project command line:
//   vorn-project dump FILE.vorn             the project as JSON on stdout
//   vorn-project build FILE.json -o FILE.vorn
// A file that is not a project, is damaged, or JSON that does not describe a
// project gets one line on err and status 1; a wrong command line status 2.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vorn::tools {

int runProjectTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vorn::tools
