// Any layout file: a file read completely comes back byte for byte from the
// writer (unless a text was longer than readers keep).
#include <cstdlib>

#include "ui/editor/GuiFile.h"

using namespace vorn::ui::editor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    GuiReadResult read = readGuiFile({data, size});
    // Every entry read took at least one byte of the file.
    const GuiLayout& layout = read.layout;
    if (layout.positions.size() + layout.aliases.size() + layout.boxes.size() > size) std::abort();
    if (read.complete != read.problem.empty()) std::abort();
    if (!read.complete) return 0;

    bool cut = false;
    for (const auto& p : layout.positions) cut = cut || p.name.size() == kMaxGuiTextBytes;
    for (const auto& a : layout.aliases)
        cut = cut || a.name.size() == kMaxGuiTextBytes || a.alias.size() == kMaxGuiTextBytes;
    for (const auto& b : layout.boxes) cut = cut || b.name.size() == kMaxGuiTextBytes;
    std::vector<uint8_t> written = writeGuiFile(layout);
    if (!cut && written != std::vector<uint8_t>(data, data + size)) std::abort();
    GuiReadResult again = readGuiFile(written);
    if (!again.complete || writeGuiFile(again.layout) != written) std::abort();
    return 0;
}
