#include "ui/editor/GuiFile.h"

#include <cstring>

namespace vorn::ui::editor {

namespace {

class Bytes {
public:
    explicit Bytes(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    std::size_t position() const { return pos_; }
    bool atEnd() const { return pos_ == bytes_.size(); }
    bool i32(int32_t& value) {
        if (bytes_.size() - pos_ < 4) return false;
        uint32_t bits = uint32_t(bytes_[pos_]) | uint32_t(bytes_[pos_ + 1]) << 8 | uint32_t(bytes_[pos_ + 2]) << 16 |
                        uint32_t(bytes_[pos_ + 3]) << 24;
        std::memcpy(&value, &bits, 4);
        pos_ += 4;
        return true;
    }
    bool f32(float& value) {
        int32_t bits;
        if (!i32(bits)) return false;
        std::memcpy(&value, &bits, 4);
        return true;
    }
    bool byte(uint8_t& value) {
        if (pos_ == bytes_.size()) return false;
        value = bytes_[pos_++];
        return true;
    }
    // A 0-terminated text; a longer one than readers keep is cut.
    bool text(std::string& value) {
        const uint8_t* start = bytes_.data() + pos_;
        const void* zero = std::memchr(start, 0, bytes_.size() - pos_);
        if (!zero) return false;
        std::size_t length = std::size_t(static_cast<const uint8_t*>(zero) - start);
        value.assign(reinterpret_cast<const char*>(start), std::min(length, kMaxGuiTextBytes));
        pos_ += length + 1;
        return true;
    }

private:
    std::span<const uint8_t> bytes_;
    std::size_t pos_ = 0;
};

void putI32(std::vector<uint8_t>& out, int32_t value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(bits >> shift));
}

void putF32(std::vector<uint8_t>& out, float value) {
    int32_t bits;
    std::memcpy(&bits, &value, 4);
    putI32(out, bits);
}

void putText(std::vector<uint8_t>& out, const std::string& text) {
    std::size_t length = std::min(text.size(), kMaxGuiTextBytes);
    // A text ends at its first 0, as a reader would see it.
    length = std::min(length, std::strlen(text.c_str()));
    out.insert(out.end(), text.begin(), text.begin() + std::ptrdiff_t(length));
    out.push_back(0);
}

}  // namespace

GuiReadResult readGuiFile(std::span<const uint8_t> bytes) {
    GuiReadResult result;
    GuiLayout& layout = result.layout;
    Bytes in(bytes);
    auto damaged = [&](const std::string& what) {
        result.complete = false;
        result.problem = what + " at byte " + std::to_string(in.position());
        return result;
    };

    int32_t count = 0;
    if (!in.i32(layout.version) || !in.i32(count)) return damaged("cut short in the header");
    if (count < 0) return damaged("a negative box count");
    for (int32_t i = 0; i < count; ++i) {
        GuiLayout::Position position;
        if (!in.text(position.name) || !in.f32(position.x) || !in.f32(position.y))
            return damaged("cut short in box position " + std::to_string(i + 1) + " of " + std::to_string(count));
        layout.positions.push_back(std::move(position));
    }
    if (layout.version >= 2) {
        for (int32_t i = 0; i < count; ++i) {
            GuiLayout::Alias alias;
            if (!in.text(alias.name) || !in.text(alias.alias))
                return damaged("cut short in alias " + std::to_string(i + 1) + " of " + std::to_string(count));
            layout.aliases.push_back(std::move(alias));
        }
    }
    int32_t boxes = 0;
    if (!in.i32(boxes)) return damaged("cut short before the box flags");
    if (boxes < 0) return damaged("a negative flag count");
    for (int32_t i = 0; i < boxes; ++i) {
        GuiLayout::Box box;
        if (!in.text(box.name) || !in.byte(box.flag))
            return damaged("cut short in box flag " + std::to_string(i + 1) + " of " + std::to_string(boxes));
        layout.boxes.push_back(std::move(box));
    }
    if (!in.atEnd()) return damaged("more bytes after the last box flag");
    return result;
}

std::vector<uint8_t> writeGuiFile(const GuiLayout& layout) {
    std::vector<uint8_t> out;
    putI32(out, layout.version);
    putI32(out, int32_t(layout.positions.size()));
    for (const GuiLayout::Position& position : layout.positions) {
        putText(out, position.name);
        putF32(out, position.x);
        putF32(out, position.y);
    }
    if (layout.version >= 2) {
        // One alias per position, in the same order; a name without one is its own alias.
        for (std::size_t i = 0; i < layout.positions.size(); ++i) {
            bool known = i < layout.aliases.size();
            putText(out, known ? layout.aliases[i].name : layout.positions[i].name);
            putText(out, known ? layout.aliases[i].alias : layout.positions[i].name);
        }
    }
    putI32(out, int32_t(layout.boxes.size()));
    for (const GuiLayout::Box& box : layout.boxes) {
        putText(out, box.name);
        out.push_back(box.flag);
    }
    return out;
}

}  // namespace vorn::ui::editor
