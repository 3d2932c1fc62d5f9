// A text parameter (a file name, a folder). Releasing the left button starts
// typing, and releasing it again, or Return, stores the text; Escape gives the
// typing up. A middle click picks a file with the open-file dialog. While
// typing the box holds the capture and takes every event.
#pragma once

#include "ui/UI_Object.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace vorn::ui {

class UI_TextBox : public UI_Object {
public:
    static constexpr std::size_t kMaxTyped = 80;

    UI_TextBox(std::string name, int32_t x, int32_t y, int32_t width);

    void draw() override;
    bool handleEvent(const UI_Event& event) override;

    // Whether a typed character is taken: letters, digits and the few marks
    // that names and paths use.
    static bool accepts(int32_t character);

    std::string name;
    std::string* target = nullptr;
    bool editing = false;
    std::string typed;
    // The file picker of the middle click; the platform's dialog unless replaced.
    std::function<std::optional<std::string>()> pickFile;

private:
    void finish(bool store);
};

}  // namespace vorn::ui
