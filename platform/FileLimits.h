// The largest file each reader accepts. A file names its own kind, so a hostile
// or mistaken path (a 10 GB video named as a texture) is refused before it is
// read, and no reader holds more than its kind can justify.
#pragma once

#include <cstddef>

namespace vorn::platform {

inline constexpr std::size_t kMiB = std::size_t(1) << 20;

inline constexpr std::size_t kMaxProjectFileBytes = 256 * kMiB;
inline constexpr std::size_t kMaxImageFileBytes = 256 * kMiB;
inline constexpr std::size_t kMaxMusicFileBytes = 128 * kMiB;
inline constexpr std::size_t kMaxMeshFileBytes = 1024 * kMiB;   // OBJ models of hundreds of MB exist
inline constexpr std::size_t kMaxSceneFileBytes = 64 * kMiB;    // .scn layer files
inline constexpr std::size_t kMaxTextFileBytes = 16 * kMiB;     // scripts, shader sources, MTL, keys, camera paths
inline constexpr std::size_t kMaxLayoutFileBytes = 64 * kMiB;   // the editor's .vorngui
inline constexpr std::size_t kMaxTrackFileBytes = 64 * kMiB;    // Rocket .track files
inline constexpr std::size_t kMaxFontFileBytes = 64 * kMiB;     // TrueType fonts

}  // namespace vorn::platform
