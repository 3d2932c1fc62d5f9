// ".track" files: one per track, named after the client's base and the track
// name, holding the key count and the keys, little-endian, without a header:
//   int32 n, then n times { int32 row, float32 value, uint8 kind }.
// Track names come from project files, so their encoding also keeps every file
// under the working directory: no "." or ".." component, no empty component.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "sync/SyncTrack.h"

namespace vorn::sync {

// ASCII letters, digits, ".", "/" and "_" stay; every other byte becomes "-"
// and two upper-case hex digits ("cam:pos x" -> "cam-3Apos-20x"). Within the
// name's "/"-separated components, the dots of a "." or ".." component and a
// "/" that would end an empty component are escaped as well. The result is at
// most 259 characters: an escape is written only while fewer than 257 stand,
// a plain character only while fewer than 259; the first that does not fit ends it.
std::string encodeTrackName(std::string_view name);

// base + "_" + encodeTrackName(name) + ".track", cut at 259 characters.
std::string trackPath(std::string_view base, std::string_view name);

// The three functions through which track files are read; the defaults open
// through platform::openFile (so "\" and case rules apply, and only a regular
// file within the track file limit opens) and use fread/fclose.
struct SyncFileFunctions {
    std::FILE* (*open)(const char* path, const char* mode);
    std::size_t (*read)(void* buffer, std::size_t size, std::size_t count, std::FILE* file);
    int (*close)(std::FILE* file);
};
SyncFileFunctions defaultFileFunctions();

// Loads the track's keys from path. False (and the keys untouched) when the
// file does not open or has no readable, non-negative key count. A file holding fewer
// keys than its count, keys out of row order or an unknown kind keeps the
// keys read before the fault and reports it on one line.
bool loadTrackFile(SyncTrack& track, const std::string& path, const SyncFileFunctions& files);

// Writes the track's keys to path, creating the folders named in it.
// False, with one diagnostic line, on the first failure.
bool saveTrackFile(const SyncTrack& track, const std::string& path);

}  // namespace vorn::sync
