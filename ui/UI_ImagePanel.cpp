#include "ui/UI_ImagePanel.h"

#include "render/Quads.h"
#include "ui/UI_Master.h"

namespace vorn::ui {

UI_ImagePanel::UI_ImagePanel(std::string name, int32_t x, int32_t y, int32_t width, int32_t height, bool passive)
    : name(std::move(name)), passive(passive) {
    this->x = x;
    this->y = y;
    this->width = width;
    this->height = height;
}

void UI_ImagePanel::draw() {
    if (!owner) return;
    const render::Mat4& m = viewMatrix;
    auto transformX = [&](float px, float py) { return px * m[0] + py * m[4] + m[12]; };
    auto transformY = [&](float px, float py) { return px * m[1] + py * m[5] + m[13]; };
    float x0 = transformX(float(x), float(y)), y0 = transformY(float(x), float(y));
    float x1 = transformX(float(x + width), float(y + height)), y1 = transformY(float(x + width), float(y + height));
    int drawX = int(x0), drawY = int(y0), drawW = int(x1 - x0), drawH = int(y1 - y0);

    if (backgroundSelector && !passive) {
        static const Color kBackgrounds[] = {
            {0, 0, 0, 1}, {1, 1, 1, 1}, {1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};
        int32_t selected = *backgroundSelector;
        if (selected >= 0 && selected <= 4) owner->setColor(kBackgrounds[selected]);
        owner->fillRect(drawX, drawY, drawW, drawH);
    }
    if (image && image->textureCount() > 0) {
        // The picture's colours are already weighted by its alpha.
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        owner->setColor({1, 1, 1, 1});
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, image->textures[0]);
        owner->drawTexturedRect(drawX, drawY, drawW, drawH, false);
        render::UnbindImageTextures(*image);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    if (!passive) {
        owner->setColor({1, 1, 1, 1});
        owner->strokeRect(drawX, drawY, drawW, drawH);
    }
}

bool UI_ImagePanel::handleEvent(const UI_Event& event) {
    // A passive panel takes every event without effect.
    return passive;
}

}  // namespace vorn::ui
