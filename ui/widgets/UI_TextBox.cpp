#include "ui/widgets/UI_TextBox.h"

#include "platform/Dialogs.h"
#include "platform/WindowMessages.h"
#include "ui/UI_Evt_ValueChanged.h"
#include "ui/UI_Master.h"

namespace vorn::ui {

using namespace platform;

UI_TextBox::UI_TextBox(std::string name, int32_t x, int32_t y, int32_t width) : name(std::move(name)) {
    this->x = x;
    this->y = y;
    this->width = width;
    height = 30;
    pickFile = [] { return openFileDialog(OpenFileRequest{}); };
}

bool UI_TextBox::accepts(int32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' || c == '+' ||
           c == ',' || c == '-' || c == '.' || c == ':' || c == '\\' || c == '_' || c == '/';
}

void UI_TextBox::finish(bool store) {
    editing = false;
    if (owner && owner->capture == this) {
        owner->capture = nullptr;
        owner->captureOnTop = false;
    }
    if (!store || !target) return;
    *target = typed;
    if (valueListener) valueListener->valueChanged(this);
}

void UI_TextBox::draw() {
    if (!owner) return;
    owner->setColor(owner->palette[3]);
    owner->fillRect(x, y, width, height);
    owner->drawText(0, float(x + 10), float(y + 20), 12, owner->palette[0], name);
    int32_t boxX = x + width / 3, boxWidth = width - width / 3 - 6;
    owner->setColor(owner->palette[editing ? 8 : 4]);
    owner->fillRect(boxX, y + 5, boxWidth, height - 10);
    std::string shown = editing ? typed + "|" : (target ? *target : std::string());
    // Long paths show their end, where the file name is.
    while (shown.size() > 1 && owner->measureText(0, 12, shown) > boxWidth - 8) shown.erase(0, 1);
    owner->drawText(0, float(boxX + 4), float(y + 20), 12, editing ? Color{1, 1, 1, 1} : owner->palette[9], shown);
}

bool UI_TextBox::handleEvent(const UI_Event& event) {
    if (editing) {
        if (event.kind == Char && accepts(event.value)) {
            if (typed.size() < kMaxTyped) typed.push_back(char(event.value));
        } else if (event.kind == KeyDown && event.value == VK_BACK) {
            if (!typed.empty()) typed.pop_back();
        } else if ((event.kind == KeyUp && event.value == VK_RETURN) || event.kind == LeftUp) {
            finish(true);
        } else if (event.kind == KeyUp && event.value == VK_ESCAPE) {
            finish(false);
        }
        return true;
    }
    if (event.kind == LeftUp && owner) {
        editing = true;
        typed = target ? *target : std::string();
        owner->capture = this;
        owner->captureOnTop = true;
        return true;
    }
    if (event.kind == MiddleUp && target && pickFile) {
        if (std::optional<std::string> chosen = pickFile()) {
            *target = *chosen;
            if (valueListener) valueListener->valueChanged(this);
        }
    }
    return false;
}

}  // namespace vorn::ui
