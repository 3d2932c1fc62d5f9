// Where the UI's two faces come from: the production's own "fonts/" files when
// it ships them, otherwise the system's closest match for the family.
#pragma once

#include <string>
#include <string_view>

namespace vorn::render {

inline constexpr const char* kVerdanaFile = "fonts/verdana.ttf";
inline constexpr const char* kCourierFile = "fonts/courier.ttf";

// The shipped file (resolved as every project path is) when it exists, else
// the installed match for family; empty when neither is found.
std::string fontFileFor(std::string_view shippedFile, const std::string& family);

}  // namespace vorn::render
