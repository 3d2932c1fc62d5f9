// Scene file records as JSON a person can read and edit:
//   {"format": "vorn scene", "layers": [{"name": ..., "mode": ..., "keys": [
//       {"unused": ..., "time": ..., "left": ..., "y0": ..., "right": ..., "y1": ..., "opacity": ...}, ...]}]}
// with "namePadding" (hex bytes) on the layers whose name field holds more
// than the name. Converting records to JSON and back gives the same records,
// so the same bytes:
// - names are 8-bit: byte b becomes the character U+00b, and only characters
//   U+0001-U+00FF are accepted back;
// - floats are JSON numbers in the shortest form that reads back as the same
//   32-bit float (negative zero as -0.0); infinities and not-a-numbers, which
//   JSON cannot hold, are strings with their bit pattern ("0x7FC00000"), and a
//   bit-pattern string is accepted for any float.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "nodes/image/SceneFile.h"
#include "tools/json/JsonFields.h"

namespace vorn::tools {

// Objects keep their keys in the order written; numbers are 32-bit floats.
using SceneJson = Json;
using SceneJsonError = JsonError;

// What is wrong with a JSON scene and where ("layers[2].keys[0].time: ...").
// The JSON text, one key to a line.
std::string sceneToJsonText(const std::vector<nodes::SceneLayerRecord>& layers);

// Throws SceneJsonError when the JSON does not describe records a scene file can hold.
std::vector<nodes::SceneLayerRecord> sceneFromJson(const SceneJson& json);

// Keys as waypoints, sampled at one key per frame (see SceneTool.h). Throws
// SceneJsonError for waypoints out of time order or a result over the size
// a scene file may have.
std::vector<nodes::SceneLayerRecord> keysPerFrame(std::vector<nodes::SceneLayerRecord> layers);

}  // namespace vorn::tools
