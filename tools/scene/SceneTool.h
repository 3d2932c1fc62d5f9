// The vorn-scene command line:
//   vorn-scene dump FILE.scn                     the layers as JSON on stdout
//   vorn-scene build FILE.json -o FILE.scn       the same bytes back
//   vorn-scene build FILE.json -o FILE.scn --per-frame
// With --per-frame the keys of each layer are waypoints: the file gets one
// key per frame (60 a second) from 0 s to the last waypoint, each blended
// linearly between the waypoints around it (the first and last hold outside
// them), with the frame number as the unused value. Authors write a few
// waypoints; the renderer expects a key per frame.
// A damaged scene file or JSON that does not describe one gets one line on err
// and status 1; a wrong command line status 2.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vorn::tools {

int runSceneTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vorn::tools
