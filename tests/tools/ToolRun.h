// A command-line tool's entry point run in this process.
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace vorn::test {

struct ToolRun {
    int status = -1;
    std::string out, err;
    bool oneLine() const { return !err.empty() && err.find('\n') == err.size() - 1; }  // of err
};

template <class Tool>
ToolRun runTool(Tool tool, const std::vector<std::string>& args) {
    std::ostringstream out, err;
    int status = tool(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace vorn::test
