// Material libraries (".mtl") as the OBJ reader reads them: a list of named
// records with the colour, scalar and map fields of the format. Bytes in,
// records out; no GL, no engine. Nothing in the system shades with these
// records yet: the OBJ reader attaches them to its meshes and vorn-mesh shows
// them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::nodes {

struct MtlMaterial {
    std::string name;
    std::array<float, 3> Ka{};
    std::array<float, 3> Kd{};
    std::array<float, 3> Ks{};
    float Ns = 0.0f;
    float Ni = 0.0f;
    float d = 0.0f;
    int32_t illum = 0;
    std::string map_Ka, map_Kd, map_Ks, map_Ns, map_d, map_bump;
};

// Where a reader counts the lines it had to skip, for its one diagnostic line.
struct SkippedLines {
    std::size_t count = 0;
    std::size_t first = 0;  // 1-based line number of the first
    void add(std::size_t line) {
        if (count++ == 0) first = line;
    }
};

// Appends the records of the library text to materials. A line whose numbers
// do not read is skipped and counted in skipped.
void readMtlLibrary(std::string_view text, std::vector<MtlMaterial>& materials, SkippedLines& skipped);

// The one line that reports skipped lines of a file, or "" when none were.
std::string skippedLinesDiagnostic(std::string_view path, const SkippedLines& skipped, std::string_view what);

}  // namespace vorn::nodes
