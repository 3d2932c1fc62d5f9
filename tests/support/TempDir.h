// A fresh folder under the system's temporary directory for one test, removed
// with everything in it when the object goes away.
#pragma once

#include <string>
#include <string_view>
#include <vector>
#include <cstdint>

namespace vorn::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string file(std::string_view name) const;
    // Writes bytes to path() + "/" + name, creating folders on the way; returns the full path.
    std::string write(std::string_view name, const std::vector<uint8_t>& bytes) const;
    std::string write(std::string_view name, std::string_view text) const;

private:
    std::string path_;
};

std::vector<uint8_t> readBytes(const std::string& path);

}  // namespace vorn::test
