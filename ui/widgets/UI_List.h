// A scrolling column of choices: the node types to create, the keyframe
// tracks. Releasing the left button over a row tells the listener's
// onWidgetEvent with the row's index; the wheel scrolls.
#pragma once

#include "ui/UI_Object.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::ui {

class UI_List : public UI_Object {
public:
    static constexpr int32_t kRowHeight = 18;

    UI_List(std::string title, int32_t x, int32_t y, int32_t width, int32_t height);

    void draw() override;
    bool handleEvent(const UI_Event& event) override;

    void setItems(std::vector<std::string> newItems);
    // The row under (px, py), or -1.
    int32_t rowAt(int32_t px, int32_t py) const;
    int32_t visibleRows() const { return (height - kRowHeight) / kRowHeight; }
    // Where row i is drawn (its top), for whoever drives the list.
    int32_t rowTop(int32_t row) const { return y + kRowHeight + (row - firstRow) * kRowHeight; }

    std::string title;
    std::vector<std::string> items;
    int32_t firstRow = 0;
    int32_t selected = -1;
};

}  // namespace vorn::ui
