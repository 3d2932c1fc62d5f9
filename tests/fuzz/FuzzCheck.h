// What the fuzz targets share: a check that stops the run where a property
// fails, and a scratch folder for the files they write.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace vorn::fuzz {

inline void check(bool condition) {
    if (!condition) std::abort();
}

// Makes a fresh folder the working directory, removed when the process ends;
// in memory where the system offers it, since files are written for every input.
inline void enterScratchFolder() {
    static std::string folder = "/dev/shm/vorn-fuzz-XXXXXX";
    if (!::mkdtemp(folder.data())) {
        folder = "/tmp/vorn-fuzz-XXXXXX";
        check(::mkdtemp(folder.data()) != nullptr);
    }
    check(::chdir(folder.c_str()) == 0);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
}

}  // namespace vorn::fuzz
