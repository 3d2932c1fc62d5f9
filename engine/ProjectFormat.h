// Constants of the binary project file (".vorn"): 32-bit little-endian
// integers and floats, 0-terminated 8-bit texts, one-byte booleans. After the
// magic the file is a sequence of sections, each opened by its marker.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vorn::engine::project {

constexpr uint32_t kMagic = 0x86875003;

constexpr uint32_t kHeaderMarker = 0x86869000;      // five texts of the engine header
constexpr uint32_t kNodesMarker = 0x86869002;       // node name / type name pairs
constexpr uint32_t kCountersMarker = 0x86869001;    // type counters
constexpr uint32_t kWiringMarker = 0x86869003;      // node records: inputs by name
constexpr uint32_t kParametersMarker = 0x86869004;  // parameter values per node
constexpr uint32_t kTracksMarker = 0x86869005;      // keyframe tracks per node
constexpr uint32_t kLinksMarker = 0x86869006;       // sync links

// Readers collect a text in a 4096-byte buffer, its 0 included.
constexpr std::size_t kMaxTextBytes = 4095;

}  // namespace vorn::engine::project
