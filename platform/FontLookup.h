// Finds an installed font file for a family name through the system's font
// configuration, so a production that names a font it does not ship still
// gets a similar face (on Debian, DejaVu for the usual Windows families).
#pragma once

#include <string>

namespace vorn::platform {

// Path of the best-matching scalable font file for the family, or empty when
// the font configuration offers none.
std::string findFontFile(const std::string& family);

}  // namespace vorn::platform
