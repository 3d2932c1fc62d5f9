// File access for texts written on Windows authoring machines: paths use "\"
// and may differ in case from the names on disk. Every file the system opens
// goes through resolvePath, so both rules live here and nowhere else.
#pragma once

#include <cstddef>
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

// The one way a file is opened by name, with fopen's modes ("rb", "wb", "ab",
// "r+b"...). Only a regular file is accepted: directories, FIFOs, sockets and
// devices are refused without blocking and without being read or written,
// decided on the open descriptor (a name cannot be swapped in between). A file
// opened for writing is emptied only once it is known to be regular. For
// reading, a file larger than maxBytes (see FileLimits.h) is refused too.
// Null on failure, with the reason in *whyNot as readFile gives it.
std::FILE* openFile(std::string_view path, const char* mode, std::string* whyNot = nullptr,
                    std::size_t maxBytes = SIZE_MAX);

// The whole of a regular file of at most maxBytes (see FileLimits.h), or nothing.
// Directories, FIFOs and devices are refused without blocking or reading them.
// On failure, whyNot (when given) receives the reason for the caller's one
// diagnostic line: "is a directory", "is not a regular file", "is larger than
// 16 MiB", or the system's reason ("No such file or directory").
std::optional<std::vector<uint8_t>> readFile(std::string_view path, std::size_t maxBytes,
                                             std::string* whyNot = nullptr);

// A path as diagnostics show it: resolved (so "\" has become "/") and, when
// very long, shortened in the middle (shortenMiddle, Debug.h).
std::string displayPath(std::string_view path);

// Creates or replaces the file with exactly these bytes; false when it cannot
// be opened (see openFile), written or closed, with the reason in *whyNot for
// the caller's report.
bool writeFile(std::string_view path, std::span<const uint8_t> bytes, std::string* whyNot = nullptr);

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
