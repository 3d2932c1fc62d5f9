// Where the tests find what the build made or the repository holds: the
// commands under bin/, the assembled demo and generated test files in the
// build folder; the demo's sources in the source folder. Both are fixed when
// the tests are built, so a test executable finds them from anywhere.
#pragma once

#include <string>

namespace vorn::test {

inline std::string sourceFolder() { return VORN_SOURCE_DIR; }
inline std::string binaryFolder() { return VORN_BINARY_DIR; }

}  // namespace vorn::test
