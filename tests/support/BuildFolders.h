// Where the tests find what the build made (bin/, the assembled demo) and the
// sources: fixed at build time, so a test finds them from any working folder.
#pragma once

#include <string>

namespace vorn::test {

inline std::string sourceFolder() { return VORN_SOURCE_DIR; }
inline std::string binaryFolder() { return VORN_BINARY_DIR; }

}  // namespace vorn::test
