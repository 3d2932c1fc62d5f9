#include "nodes/scene/MtlLibrary.h"

#include "nodes/scene/TextScan.h"

#include <optional>

namespace vorn::nodes {

namespace {

// "Ka"-style colours: exactly three pieces; another count ignores the line.
enum class Read { Done, Ignored, Malformed };

Read readColour(std::string_view tail, std::array<float, 3>& out) {
    std::array<std::string_view, 3> pieces;
    std::size_t i = 0;
    std::size_t count = text::forEachPiece(tail, ' ', [&](std::string_view piece) {
        if (i < 3) pieces[i++] = piece;
        return true;
    });
    if (count != 3) return Read::Ignored;
    std::array<float, 3> values{};
    for (std::size_t k = 0; k < 3; ++k)
        if (!text::wholeFloat(pieces[k], values[k])) return Read::Malformed;
    out = values;
    return Read::Done;
}

}  // namespace

void readMtlLibrary(std::string_view content, std::vector<MtlMaterial>& materials, SkippedLines& skipped) {
    std::optional<MtlMaterial> open;
    text::LineReader lines(content);
    std::string_view line;
    while (lines.next(line)) {
        auto [key, tail] = text::firstWord(line);
        if (key == "newmtl") {
            if (open) materials.push_back(std::move(*open));
            open.emplace();
            open->name = line.size() <= 7 ? std::string("none") : std::string(tail);
            continue;
        }
        if (!open) continue;
        MtlMaterial& m = *open;
        Read read = Read::Done;
        if (key == "Ka") read = readColour(tail, m.Ka);
        else if (key == "Kd") read = readColour(tail, m.Kd);
        else if (key == "Ks") read = readColour(tail, m.Ks);
        else if (key == "Ns") read = text::wholeFloat(tail, m.Ns) ? Read::Done : Read::Malformed;
        else if (key == "Ni") read = text::wholeFloat(tail, m.Ni) ? Read::Done : Read::Malformed;
        else if (key == "d") read = text::wholeFloat(tail, m.d) ? Read::Done : Read::Malformed;
        else if (key == "illum") read = text::wholeInt(tail, m.illum) ? Read::Done : Read::Malformed;
        else if (key == "map_Ka") m.map_Ka = tail;
        else if (key == "map_Kd") m.map_Kd = tail;
        else if (key == "map_Ks") m.map_Ks = tail;
        else if (key == "map_Ns") m.map_Ns = tail;
        else if (key == "map_d") m.map_d = tail;
        else if (key == "map_Bump" || key == "map_bump" || key == "bump") m.map_bump = tail;
        if (read == Read::Malformed) skipped.add(lines.number());
    }
    if (open) materials.push_back(std::move(*open));
}

std::string skippedLinesDiagnostic(std::string_view path, const SkippedLines& skipped, std::string_view what) {
    if (skipped.count == 0) return {};
    return std::string(path) + ": " + std::to_string(skipped.count) + " " + std::string(what) +
           (skipped.count == 1 ? " line" : " lines") + " skipped, the first at line " +
           std::to_string(skipped.first);
}

}  // namespace vorn::nodes
