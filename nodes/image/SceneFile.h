// ".scn" scene files of the parallax renderer, as bytes in and records out
// (no GL, no engine): the node, the vorn-scene tool and the fuzz target all
// read through readSceneFile, so what the tool shows is what the node plays.
//
// The file is a run of layer records up to its end, little-endian, no header:
// a 512-byte zero-terminated image name, a signed 32-bit blend mode, a signed
// 32-bit key count K, then K keys of seven 4-byte values (an unused one, time,
// left x, y0, right x, y1, opacity; all floats).
//
// Damaged files are read as far as they hold: a record cut short, or one whose
// count is negative, ends the file; keys that end early are kept as far as
// they are complete. Nothing is allocated from a count: keys are read while
// bytes remain. Records come back exactly as stored (layers without keys
// included); what the renderer drops or renames is the renderer's business.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vorn::nodes {

struct SceneKey {
    float unused = 0.0f;
    float time = 0.0f;     // seconds, scene-local
    float left = 0.0f;     // pixels of a 1920 x 1080 frame
    float y0 = 0.0f;       // y of the edge drawn with v = 0
    float right = 0.0f;
    float y1 = 0.0f;       // y of the edge drawn with v = 1
    float opacity = 0.0f;  // 0 ... 1
};

struct SceneLayerRecord {
    std::string name;  // up to 512 bytes; a name that fills the field has no terminator
    // Bytes stored after the name's terminator, trailing zeros left out:
    // exporters leave whatever their buffer held there. Kept so that a file
    // comes back byte for byte.
    std::string namePadding;
    int32_t mode = 0;
    std::vector<SceneKey> keys;
};

inline constexpr std::size_t kSceneNameBytes = 512;
inline constexpr std::size_t kSceneKeyBytes = 28;

struct SceneFileRead {
    std::vector<SceneLayerRecord> layers;  // the complete records, then a damaged one's complete keys
    bool damaged = false;
    std::size_t damageOffset = 0;  // byte at which reading stopped
    std::string problem;           // what was wrong there, for the caller's one line
};

SceneFileRead readSceneFile(std::span<const uint8_t> bytes);

// The file holding exactly these records. Names longer than 512 bytes, or
// with padding that does not fit after them, are cut to fit; callers that
// must not lose bytes check sceneRecordProblem first.
std::vector<uint8_t> writeSceneFile(const std::vector<SceneLayerRecord>& layers);

// Empty when the record can be stored as it stands, else the reason.
std::string sceneRecordProblem(const SceneLayerRecord& layer);

}  // namespace vorn::nodes
