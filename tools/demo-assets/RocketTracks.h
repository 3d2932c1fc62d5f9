// The bundled demo's Rocket track files: what a session with a tracker would
// have saved, so the player animates the linked parameters without one.
#pragma once

#include <string>

namespace vorn::demoassets {

// Writes every track file under folder; false (with a diagnostic line) on failure.
bool writeRocketTracks(const std::string& folder);

}  // namespace vorn::demoassets
