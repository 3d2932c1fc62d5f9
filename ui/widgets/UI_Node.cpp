#include "ui/widgets/UI_Node.h"

#include "platform/WindowMessages.h"
#include "ui/UI_Evt_ValueChanged.h"
#include "ui/UI_Master.h"
#include "ui/widgets/UI_TextBox.h"

#include <cmath>

namespace vorn::ui {

using namespace platform;

std::array<float, 4> nodeColour(const std::string& name) {
    int32_t sums[3] = {0, 0, 0};
    for (std::size_t i = 0; i < name.size(); ++i) sums[i % 3] += int32_t(static_cast<signed char>(name[i]));
    float red = float(sums[2] % 255) / 255.0f, green = float(sums[1] % 255) / 255.0f, blue = float(sums[0] % 255) / 255.0f;
    float length = std::sqrt(red * red + green * green + blue * blue);
    if (length == 0.0f) return {0.0f, 0.0f, 0.0f, 1.0f};
    return {red / length * 0.75f, green / length * 0.75f, blue / length * 0.75f, 1.0f};
}

UI_Node::UI_Node(UI_NodeHost& host, std::string nodeName, std::string typeName, int32_t x, int32_t y,
                 std::vector<std::string> inputNames)
    : nodeName(std::move(nodeName)), typeName(std::move(typeName)), inputNames(std::move(inputNames)), host_(host) {
    this->x = x;
    this->y = y;
    width = kWidth;
    height = kTitleHeight + int32_t(this->inputNames.size()) * kRowHeight + (this->inputNames.empty() ? 0 : 4);
}

int32_t UI_Node::socketAt(int32_t px, int32_t py) const {
    if (px >= x + width - 12 && px <= x + width && py >= y && py <= y + kTitleHeight) return -1;
    if (px < x || px > x + 12) return -2;
    for (int32_t i = 0; i < int32_t(inputNames.size()); ++i)
        if (py >= inputY(i) - kRowHeight / 2 && py < inputY(i) + kRowHeight / 2) return i;
    return -2;
}

bool UI_Node::overFlagBox(int32_t px, int32_t py) const {
    return px >= x + width - 26 && px <= x + width - 16 && py >= y + 5 && py <= y + 15;
}

void UI_Node::draw() {
    if (!owner) return;
    owner->setColor(owner->palette[4]);
    owner->fillRect(x, y, width, height);
    Color colour = nodeColour(typeName);
    if (!enabled) colour = {colour[0] * 0.5f, colour[1] * 0.5f, colour[2] * 0.5f, 1.0f};
    owner->setColor(colour);
    owner->fillRect(x, y, width, kTitleHeight);
    if (editingAlias) {
        owner->setColor(owner->palette[1]);
        owner->fillRect(x + 2, y + 2, width - 30, kTitleHeight - 4);
        owner->drawText(0, float(x + 5), float(y + 14), 12, {1, 1, 1, 1}, typed + "|");
    } else {
        owner->drawText(0, float(x + 5), float(y + 14), 12, owner->palette[1], owner->aliasOf(nodeName));
    }
    // The flag: filled while the feeding boxes follow step by step, a frame when not.
    owner->setColor(owner->palette[1]);
    owner->fillRect(x + width - 26, y + 5, 10, 10);
    if (!flag) {
        owner->setColor(colour);
        owner->fillRect(x + width - 24, y + 7, 6, 6);
    }
    owner->setColor(pendingOutput ? owner->palette[9] : owner->palette[0]);
    owner->fillTriangle(x + width - 10, y + 4, x + width - 2, y + 10, x + width - 10, y + 16);
    for (int32_t i = 0; i < int32_t(inputNames.size()); ++i) {
        int32_t rowY = inputY(i);
        owner->setColor(owner->palette[6]);
        owner->fillTriangle(x + 1, rowY - 5, x + 9, rowY, x + 1, rowY + 5);
        owner->drawText(0, float(x + 14), float(rowY + 4), 10, owner->palette[2], inputNames[std::size_t(i)]);
    }
    if (error || highlight) {
        owner->setColor(error ? Color{0.9f, 0.15f, 0.1f, 1.0f} : owner->palette[9]);
        owner->strokeRect(x, y, width, height);
    }
}

void UI_Node::moveUpstream(int32_t dx, int32_t dy) {
    if (dx == 0 && dy == 0) return;
    for (UI_Node* box : host_.upstreamBoxes(*this))
        if (box != this) box->setPosition(box->x + dx, box->y + dy);
}

void UI_Node::finishAlias(bool store) {
    editingAlias = false;
    if (owner && owner->capture == this) {
        owner->capture = nullptr;
        owner->captureOnTop = false;
    }
    if (!store || !owner) return;
    // An empty alias, or the name itself, means none.
    if (typed.empty() || typed == nodeName) owner->nameAlias.erase(nodeName);
    else owner->nameAlias[nodeName] = typed;
    if (valueListener) valueListener->valueChanged(this);
}

bool UI_Node::handleEvent(const UI_Event& event) {
    if (!enabled || !owner) return false;
    mouseX_ = event.x;
    mouseY_ = event.y;

    if (editingAlias) {
        if (event.kind == Char && UI_TextBox::accepts(event.value) && typed.size() < UI_TextBox::kMaxTyped)
            typed.push_back(char(event.value));
        else if (event.kind == KeyDown && event.value == VK_BACK && !typed.empty())
            typed.pop_back();
        else if (event.kind == KeyUp && event.value == VK_RETURN)
            finishAlias(true);
        else if (event.kind == KeyUp && event.value == VK_ESCAPE)
            finishAlias(false);
        return true;
    }
    if (moving_) {
        if (event.kind == MouseMove) {
            int32_t newX = event.x - grabX_, newY = event.y - grabY_;
            int32_t dx = newX - x, dy = newY - y;
            setPosition(newX, newY);
            if (flag && event.shift) moveUpstream(dx, dy);
        } else if (event.kind == LeftUp) {
            moving_ = false;
            if (owner->capture == this) owner->capture = nullptr;
            if (!flag) moveUpstream(x - startX_, y - startY_);
            if (valueListener) valueListener->valueChanged(this);
        }
        return true;
    }
    switch (event.kind) {
        case RightDown:
            host_.openParameters(*this);
            return true;
        case LeftDoubleClick:
            if (event.y <= y + kTitleHeight && socketAt(event.x, event.y) == -2 && !owner->capture) {
                editingAlias = true;
                typed = owner->aliasOf(nodeName);
                owner->capture = this;
                owner->captureOnTop = true;
                return true;
            }
            return false;
        case LeftDown: {
            if (!contains(event.x, event.y)) return false;
            if (overFlagBox(event.x, event.y)) {
                flag = flag ? 0 : 1;
                return true;
            }
            int32_t socket = socketAt(event.x, event.y);
            if (socket != -2) {
                host_.socketPressed(*this, socket);
                return true;
            }
            host_.boxPressed(*this);
            if (owner->capture) return false;
            owner->capture = this;
            owner->captureOnTop = true;
            grabX_ = event.x - x;
            grabY_ = event.y - y;
            startX_ = x;
            startY_ = y;
            moving_ = true;
            return true;
        }
        case LeftUp:
            if (owner->capture == this) owner->capture = nullptr;
            if (valueListener) valueListener->valueChanged(this);
            return true;
        default:
            return false;
    }
}

}  // namespace vorn::ui
