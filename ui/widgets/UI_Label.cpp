#include "ui/widgets/UI_Label.h"

namespace vorn::ui {

UI_Label::UI_Label(std::string text, int32_t x, int32_t y, int32_t width, int32_t height, int32_t pixelSize)
    : text(std::move(text)), pixelSize(pixelSize) {
    this->x = x;
    this->y = y;
    this->width = width;
    this->height = height;
}

void UI_Label::draw() {
    if (!owner) return;
    owner->drawText(font, float(x), float(y + height / 2 + pixelSize / 2 - 1), pixelSize, colour,
                    source ? *source : text);
}

}  // namespace vorn::ui
