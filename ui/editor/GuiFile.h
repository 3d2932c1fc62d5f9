// The editor's layout file (".vorngui", beside the project): where each node
// box stands, the nodes' aliases and the boxes' flags. Plain bytes in, a plain
// record out; no GL, no engine.
//
// Layout, little-endian: int32 version (2); int32 N; N x (name, float32 x,
// float32 y); from version 2 on, N x (name, alias); int32 M; M x (name, one
// byte flag). Texts are their bytes and a 0.
//
// Counts are promises: entries are read while bytes remain, so a damaged file
// keeps what came before the damage and a huge count in a short file
// allocates nothing.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vorn::ui::editor {

struct GuiLayout {
    struct Position {
        std::string name;
        float x = 0.0f, y = 0.0f;
    };
    struct Alias {
        std::string name, alias;
    };
    struct Box {
        std::string name;
        uint8_t flag = 1;
    };

    int32_t version = 2;
    std::vector<Position> positions;
    std::vector<Alias> aliases;  // none before version 2
    std::vector<Box> boxes;
};

struct GuiReadResult {
    GuiLayout layout;
    bool complete = true;
    std::string problem;  // what was wrong and where, when not complete
};

// Texts are kept to this many bytes, as the project file keeps them.
inline constexpr std::size_t kMaxGuiTextBytes = 4095;

GuiReadResult readGuiFile(std::span<const uint8_t> bytes);
std::vector<uint8_t> writeGuiFile(const GuiLayout& layout);

}  // namespace vorn::ui::editor
