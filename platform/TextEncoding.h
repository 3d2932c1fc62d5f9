// The system's texts are 8-bit (Latin-1) and stay so everywhere inside it;
// only where a text leaves for something that expects UTF-8 (a message box,
// a JSON document) is it converted, here.
#pragma once

#include <string>
#include <string_view>

namespace vorn::platform {

// Byte b becomes the character U+00b: ASCII stays as it is, 0x80-0xFF become
// two-byte sequences.
std::string latin1ToUtf8(std::string_view bytes);

}  // namespace vorn::platform
