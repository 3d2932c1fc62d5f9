// File access for texts written on Windows authoring machines: paths use "\"
// and may differ in case from the names on disk. Every file the system opens
// goes through resolvePath, so both rules live here and nowhere else.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::platform {

// "\" becomes "/"; when that path does not exist, each component is matched
// case-insensitively against its directory's listing. Components that match
// nothing are kept as written, so the result names where a new file would go.
std::string resolvePath(std::string_view path);

// fopen on the resolved path; null on failure (the caller reports it).
std::FILE* openFile(std::string_view path, const char* mode);

// The whole of a regular file of at most maxBytes (see FileLimits.h), or nothing.
// Directories, FIFOs and devices are refused without blocking or reading them.
// On failure, whyNot (when given) receives the reason for the caller's one
// diagnostic line: "is a directory", "is not a regular file", "is larger than
// 16 MiB", or the system's reason ("No such file or directory").
std::optional<std::vector<uint8_t>> readFile(std::string_view path, std::size_t maxBytes,
                                             std::string* whyNot = nullptr);

// Creates or replaces the file with exactly these bytes; false when it cannot
// be opened, written or closed (the caller reports it).
bool writeFile(std::string_view path, std::span<const uint8_t> bytes);

bool fileExists(std::string_view path);
bool isDirectory(std::string_view path);
bool makeDirectory(std::string_view path);  // true when created or already a directory

// The working directory as an absolute path without a trailing separator.
std::string currentDirectory();
bool changeDirectory(std::string_view path);

struct DirectoryEntry {
    std::string name;
    bool isDirectory = false;
};

// Entries of a directory, without "." and "..", sorted case-insensitively as a
// Windows listing would be; the path is resolved like any other. Nothing when
// it cannot be listed.
std::optional<std::vector<DirectoryEntry>> listDirectory(std::string_view path);

}  // namespace vorn::platform
