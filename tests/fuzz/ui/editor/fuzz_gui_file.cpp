// Any bytes through the layout file reader. It must never read past the end
// or allocate from a count, and a file it read completely must come back
// byte for byte from the writer (unless a text was longer than readers keep).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/Debug.h"
#include "ui/editor/GuiFile.h"

using namespace vorn::ui::editor;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vorn::platform::silenceDiagnostics();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    GuiReadResult read = readGuiFile({data, size});
    // Every entry read took at least one byte of the file.
    std::size_t entries = read.layout.positions.size() + read.layout.aliases.size() + read.layout.boxes.size();
    if (entries > size) std::abort();
    if (read.complete != read.problem.empty()) std::abort();
    if (!read.complete) return 0;

    bool cut = false;
    for (const auto& p : read.layout.positions) cut = cut || p.name.size() == kMaxGuiTextBytes;
    for (const auto& a : read.layout.aliases)
        cut = cut || a.name.size() == kMaxGuiTextBytes || a.alias.size() == kMaxGuiTextBytes;
    for (const auto& b : read.layout.boxes) cut = cut || b.name.size() == kMaxGuiTextBytes;
    std::vector<uint8_t> written = writeGuiFile(read.layout);
    if (!cut && written != std::vector<uint8_t>(data, data + size)) std::abort();
    GuiReadResult again = readGuiFile(written);
    if (!again.complete || writeGuiFile(again.layout) != written) std::abort();
    return 0;
}
