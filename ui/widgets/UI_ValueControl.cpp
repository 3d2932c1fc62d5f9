#include "ui/widgets/UI_ValueControl.h"

#include "platform/WindowMessages.h"
#include "ui/UI_Evt_ValueChanged.h"
#include "ui/UI_Master.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vorn::ui {

using namespace platform;

float limitValue(float v, const engine::ValueFloat& range) {
    if (range.clamp) return std::max(std::min(v, range.maximum), range.minimum);
    float span = range.maximum - range.minimum;
    if (!(span != 0.0f)) return range.minimum;  // fmod by 0 would be NaN
    return std::fmod(v - range.minimum, span) + range.minimum;
}

std::string valueText(float value, int32_t decimals, bool percent) {
    char text[96];
    std::snprintf(text, sizeof text, "%.*f", std::clamp(decimals, 0, 20), double(percent ? value * 100.0f : value));
    return percent ? std::string(text) + "%" : std::string(text);
}

UI_ValueControl::UI_ValueControl(std::string name, int32_t x, int32_t y, int32_t width, bool keyable)
    : parameter(nullptr, name, ""), parameterName(std::move(name)), keyable(keyable) {
    this->x = x;
    this->y = y;
    this->width = width;
    height = 18;
}

void UI_ValueControl::bind(const engine::ValueFloat& record, engine::Value_Keyframe_Handler* handler,
                           std::string node) {
    parameter.owner = record.owner;
    parameter.name = record.name;
    parameter.nodeName = record.nodeName;
    parameter.target = record.target;
    parameter.minimum = record.minimum;
    parameter.maximum = record.maximum;
    parameter.clamp = record.clamp;
    parameter.defaultValue = record.defaultValue;
    parameter.decimals = record.decimals;
    parameterName = record.name;
    keyframeHandler = handler;
    nodeName = std::move(node);
}

void UI_ValueControl::refresh() {
    if (!keyframeHandler) return;
    highlight = keyframeHandler->hasKeyframes(nodeName, parameterName) ? 1 : 0;
    secondFlag = keyframeHandler->isSyncLinked(nodeName, parameterName) ? 1 : 0;
}

std::string UI_ValueControl::syncTrackName() const {
    return (owner ? owner->aliasOf(nodeName) : nodeName) + "#" + parameterName;
}

void UI_ValueControl::setValue(float v) {
    if (parameter.target) *parameter.target = limitValue(v, parameter);
}

void UI_ValueControl::releaseCapture() {
    if (owner && owner->capture == this) {
        owner->capture = nullptr;
        owner->captureOnTop = false;
    }
}

void UI_ValueControl::draw() {
    if (!owner) return;
    owner->setColor(owner->palette[3]);
    owner->fillRect(x, y, width, height);
    owner->drawText(0, float(x + 10), float(y + 14), 12, owner->palette[0], parameterName);

    std::string shown = editing ? typed + "|" : valueText(value(), parameter.decimals, percentDisplay);
    float textX = float(x + width / 2);
    if (editing) owner->drawText(0, textX, float(y + 14), 14, {1, 1, 1, 1}, shown);
    else owner->drawText(0, textX, float(y + 14), 12, owner->palette[9], shown);
    labelWidth = 8 * int32_t(shown.size());
    if (!editing) {
        owner->setColor(owner->palette[9]);
        owner->drawLine(1.0f, x + width / 2 - 2, y + 15, x + width / 2 - 2 + labelWidth, y + 15);
    }
    if (keyed()) {
        owner->setColor(owner->palette[9]);
        owner->strokeRect(x, y, width, height);
    }
    if (syncLinked()) {
        owner->setColor(owner->palette[9]);
        owner->fillRect(x, y, 5, height);
    }
}

bool UI_ValueControl::handleEvent(const UI_Event& event) {
    bool handled = false, changed = false;
    const uint32_t kind = event.kind;
    const int32_t key = event.value;

    if (editing) {
        handled = true;
        if (kind == Char && ((key >= '0' && key <= '9') || key == ',' || key == '-' || key == '.')) {
            if (typed.size() < kMaxTyped) typed.push_back(char(key));
        } else if (kind == KeyUp && key == VK_RETURN) {
            editing = false;
            releaseCapture();
            float typedValue = float(std::atof(typed.c_str()));
            setValue(percentDisplay ? typedValue / 100.0f : typedValue);
            changed = true;
        } else if (kind == KeyUp && key == VK_ESCAPE) {
            editing = false;
            releaseCapture();
        } else if (kind == KeyDown && key == VK_BACK) {
            if (!typed.empty()) typed.pop_back();
        }
    }
    if (kind == KeyDown && key == VK_CONTROL && !editing) {
        dragFactor = 0.05f;
        handled = true;
    }
    if (keyable && !editing && kind == KeyDown && keyframeHandler) {
        if (key == 'S' || key == 's') {
            highlight = keyed() ? 0 : 1;
            if (keyed()) keyframeHandler->addKeyframe(nodeName, parameterName);
            else keyframeHandler->removeTracks(nodeName, parameterName);
            handled = true;
        } else if (key == 'R' || key == 'r') {
            if (keyed()) {
                highlight = 0;
                keyframeHandler->removeTracks(nodeName, parameterName);
            }
            if (!syncLinked()) {
                // The bar shows a link that exists, not one the engine refused.
                secondFlag = keyframeHandler->linkSyncTrack(nodeName, syncTrackName(), parameterName) ? 1 : 0;
            } else {
                secondFlag = 0;
                keyframeHandler->unlinkSyncTrack(nodeName, syncTrackName());
            }
            handled = true;
        }
    }
    if (kind == KeyUp && key == VK_CONTROL && !editing) {
        dragFactor = 1.0f;
        changed = handled = true;
    }
    if (owner && owner->capture == this && kind == MouseMove && !editing) {
        float d = float(event.x - dragStartX) * dragFactor / 100.0f;
        setValue(dragStartValue + (percentDisplay ? d : (parameter.maximum - parameter.minimum) * d));
        changed = true;
    }
    if (kind == LeftDoubleClick && !editing && owner) {
        if (owner->capture && owner->capture != this) {
            owner->captureOnTop = true;
        } else if (!owner->capture) {
            owner->capture = this;
            owner->captureOnTop = true;
        } else {
            setValue(dragStartValue);
        }
        editing = true;
        typed = valueText(value(), parameter.decimals, percentDisplay);
    }
    if (kind == LeftDown && !handled && owner) {
        int32_t left = x + width / 2 - 2;
        if (event.x >= left && event.x <= left + labelWidth) {
            if (!owner->capture) owner->capture = this;
            owner->captureOnTop = false;
            dragStartX = event.x;
            dragStartValue = value();
            handled = true;
        }
    }
    if (kind == LeftUp && !editing) releaseCapture();
    if (kind == RightUp) {
        setValue(parameter.defaultValue);
        changed = handled = true;
    }

    if (changed && valueListener) valueListener->valueChanged(this);
    if (keyable && keyframeHandler) {
        if (changed && handled && keyed()) keyframeHandler->setKeyAtCurrentTime(nodeName, parameterName);
        if (kind == KeyDown && key == 'P') keyframeHandler->setKeyAtCurrentTime(nodeName, parameterName);
    }
    return handled || changed;
}

}  // namespace vorn::ui
