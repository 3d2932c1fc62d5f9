// Builds project file bytes field by field, independently of the writer, so
// reader tests and writer tests can compare against hand-made files.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace vorn::test {

struct ProjectBytes {
    std::vector<uint8_t> bytes;

    ProjectBytes& u32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(v >> (8 * i)));
        return *this;
    }
    ProjectBytes& f32(float f) {
        uint32_t bits;
        std::memcpy(&bits, &f, 4);
        return u32(bits);
    }
    ProjectBytes& byte(uint8_t b) {
        bytes.push_back(b);
        return *this;
    }
    ProjectBytes& text(const std::string& t) {
        bytes.insert(bytes.end(), t.begin(), t.end());
        bytes.push_back(0);
        return *this;
    }
    ProjectBytes& magic() { return u32(0x86875003); }
    ProjectBytes& header(const std::string& project, const std::string& resources, const std::string& music,
                         const std::string& alternate, const std::string& headerText) {
        return u32(0x86869000).text(project).text(resources).text(music).text(alternate).text(headerText);
    }
};

}  // namespace vorn::test
