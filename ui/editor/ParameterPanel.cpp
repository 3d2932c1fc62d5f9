#include "ui/editor/ParameterPanel.h"

#include "ui/UI_Master.h"
#include "ui/widgets/UI_Checkbox.h"
#include "ui/widgets/UI_ColorSelector.h"
#include "ui/widgets/UI_Direction.h"
#include "ui/widgets/UI_Position.h"
#include "ui/widgets/UI_Selection.h"
#include "ui/widgets/UI_TextBox.h"
#include "ui/widgets/UI_ValueControl.h"

#include <algorithm>

namespace vorn::ui::editor {

using engine::ValueType;

ParameterPanel::ParameterPanel(engine::Engine& engine, int32_t x, int32_t y, int32_t width, int32_t height)
    : UI_Panel(x, y, width, height, true), columnHeight(height), engine_(engine) {}

void ParameterPanel::clear(UI_ImagePanel* viewer) {
    clearChildren();
    // Handles point into the node's parameters: they go with the panel.
    if (viewer) viewer->clearHandles();
    nodeName_.clear();
    title.clear();
    scroll_ = 0;
    contentHeight_ = 0;
    setSize(width, 50);
}

void ParameterPanel::show(const std::string& nodeName, UI_Evt_ValueChanged* listener, UI_ImagePanel* viewer) {
    int32_t keptScroll = nodeName == nodeName_ ? scroll_ : 0;
    clear(viewer);
    engine::Node* node = engine_.findNode(nodeName);
    if (!node) return;
    nodeName_ = nodeName;
    title = nodeName;

    int32_t top = 25;
    for (const auto& record : engine_.parametersOf(*node)) {
        ParameterKeys keys{&engine_, nodeName, record->name};
        std::unique_ptr<UI_Object> widget;
        switch (record->type()) {
            case ValueType::Float: {
                auto control = std::make_unique<UI_ValueControl>(record->name, 5, top, 380, true);
                control->bind(static_cast<const engine::ValueFloat&>(*record), &engine_, nodeName);
                widget = std::move(control);
                break;
            }
            case ValueType::String: {
                auto box = std::make_unique<UI_TextBox>(record->name, 5, top, 380);
                box->target = static_cast<const engine::ValueString&>(*record).target;
                widget = std::move(box);
                break;
            }
            case ValueType::Vec2: {
                const auto& pair = static_cast<const engine::ValueVec2&>(*record);
                if (pair.style == engine::Vec2Style::Direction) {
                    auto direction = std::make_unique<UI_Direction>(record->name, 5, top, 380);
                    direction->target = pair.target;
                    direction->defaultValue = pair.defaultValue;
                    direction->keys = keys;
                    widget = std::move(direction);
                } else {
                    widget = std::make_unique<UI_Position>(pair, 5, top, keys);
                    if (viewer)
                        viewer->addHandle({pair.target, nodeName + "." + record->name, nodeName, record->name, &engine_, nullptr});
                }
                break;
            }
            case ValueType::Vec4: {
                const auto& colour = static_cast<const engine::ValueVec4&>(*record);
                auto selector = std::make_unique<UI_ColorSelector>(record->name, 0, top);
                selector->bind(colour.target, colour.defaultValue, keys);
                widget = std::move(selector);
                break;
            }
            case ValueType::Int: {
                const auto& choice = static_cast<const engine::ValueInt&>(*record);
                if (choice.choices.empty()) break;  // a plain integer has no widget
                auto selection = std::make_unique<UI_Selection>(record->name, 0, top, 380);
                selection->target = choice.target;
                selection->defaultValue = choice.defaultValue;
                selection->choices = choice.choices;
                widget = std::move(selection);
                break;
            }
            case ValueType::Bool: {
                const auto& flag = static_cast<const engine::ValueBool&>(*record);
                widget = std::make_unique<UI_Checkbox>(record->name, 5, top, 380, flag.target, flag.defaultValue);
                break;
            }
            case ValueType::MultiInt: break;
        }
        if (!widget) continue;
        widget->valueListener = listener;
        top += widget->preferredHeight();
        UI_Object* added = adopt(std::move(widget));
        added->refresh();
    }
    contentHeight_ = top + 5;
    setSize(width, std::min(std::max(contentHeight_, 50), columnHeight));
    // Showing the same node again keeps the place the user scrolled to.
    scroll_ = std::clamp(keptScroll, 0, std::max(0, contentHeight_ - columnHeight));
    if (scroll_) {
        for (UI_Object* child : children()) child->setPosition(child->x, child->y - scroll_);
    }
}

void ParameterPanel::draw() {
    if (hidden || !owner) return;
    drawFrame();
    drawChildren();
    if (nodeName_.empty())
        owner->drawText(0, float(x + 10), float(y + 32), 12, owner->palette[2], "Right-click a node box to edit its parameters");
    else if (children().empty())
        owner->drawText(0, float(x + 10), float(y + 32), 12, owner->palette[2], "This node has no parameters");
    if (contentHeight_ > height) {
        int32_t barHeight = std::max(20, height * height / contentHeight_);
        int32_t barTop = y + (height - barHeight) * scroll_ / std::max(1, contentHeight_ - height);
        owner->setColor(owner->palette[2]);
        owner->fillRect(x + width - 4, barTop, 3, barHeight);
    }
}

bool ParameterPanel::handleOwnEvent(const UI_Event& event) {
    if (event.kind != Wheel || contentHeight_ <= height) return false;
    int32_t next = std::clamp(scroll_ - event.value / 2, 0, contentHeight_ - height);
    for (UI_Object* child : children()) child->setPosition(child->x, child->y - (next - scroll_));
    scroll_ = next;
    return true;
}

}  // namespace vorn::ui::editor
