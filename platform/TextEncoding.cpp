#include "platform/TextEncoding.h"

namespace vorn::platform {

std::string latin1ToUtf8(std::string_view bytes) {
    std::string utf8;
    utf8.reserve(bytes.size());
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            utf8.push_back(c);
        } else {
            utf8.push_back(char(0xC0 | (b >> 6)));
            utf8.push_back(char(0x80 | (b & 0x3F)));
        }
    }
    return utf8;
}

}  // namespace vorn::platform
