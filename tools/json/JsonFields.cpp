#include "tools/json/JsonFields.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/TextEncoding.h"

namespace vorn::tools {

std::string bitPattern(uint32_t bits) {
    char hex[11];
    std::snprintf(hex, sizeof hex, "0x%08X", bits);
    return hex;
}

Json floatToJson(float value) {
    if (std::isfinite(value)) return value;
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return bitPattern(bits);
}

Json textToJson(const std::string& bytes) { return platform::latin1ToUtf8(bytes); }

JsonReader JsonReader::operator[](const char* key) const {
    if (!json_.is_object()) fail("expected an object");
    auto found = json_.find(key);
    if (found == json_.end()) fail(std::string("missing \"") + key + "\"");
    return JsonReader(*found, where_ + "." + key);
}

std::vector<JsonReader> JsonReader::items() const {
    if (!json_.is_array()) fail("expected an array");
    std::vector<JsonReader> list;
    for (std::size_t i = 0; i < json_.size(); ++i) list.emplace_back(json_[i], where_ + "[" + std::to_string(i) + "]");
    return list;
}

std::string JsonReader::word() const {
    if (!json_.is_string()) fail("expected a string");
    return json_.get<std::string>();
}

std::string JsonReader::text() const {
    const std::string utf8 = word();
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            bytes.push_back(char(c));
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size() &&
                   (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
            bytes.push_back(char(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F)));
        } else {
            fail("characters above U+00FF cannot be stored: texts are 8-bit");
        }
    }
    return bytes;
}

float JsonReader::number() const {
    if (json_.is_number()) return json_.get<float>();
    if (auto bits = bitPatternValue()) {
        float value;
        std::memcpy(&value, &*bits, 4);
        return value;
    }
    fail("expected a number or a bit pattern such as \"0x7FC00000\"");
}

std::optional<uint32_t> JsonReader::bitPatternValue() const {
    if (!json_.is_string()) return std::nullopt;
    const std::string& s = json_.get_ref<const std::string&>();
    if (s.size() != 10 || s[0] != '0' || (s[1] != 'x' && s[1] != 'X')) return std::nullopt;
    uint32_t bits = 0;
    for (std::size_t i = 2; i < 10; ++i) {
        char c = s[i];
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) return std::nullopt;
        bits = bits << 4 | uint32_t(digit);
    }
    return bits;
}

}  // namespace vorn::tools
