// A container of widgets: draws its background, its children in order inside
// its own rectangle, an optional title tab (the title's alias) and an optional
// close box. Children are given relative to the panel and move with it.
//
// Events go to the close box, then to the first child under the mouse, then to
// every child image panel (pans and zooms reach them wherever the mouse is),
// and finally to handleOwnEvent, which subclasses override.
#pragma once

#include "ui/UI_Object.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vorn::ui {

class UI_Panel : public UI_Object {
public:
    static constexpr int32_t kTitleHeight = 14;

    UI_Panel(int32_t x, int32_t y, int32_t width, int32_t height, bool closable);
    ~UI_Panel() override;

    void draw() override;
    bool handleEvent(const UI_Event& event) override;
    void setPosition(int32_t newX, int32_t newY) override;
    void setOwner(UI_Master* master) override;

    // Moves the child by the panel's position and appends it; not owned.
    void addChild(UI_Object* child);
    // Same, and the panel owns it until it is removed.
    template <typename Widget>
    Widget* adopt(std::unique_ptr<Widget> child) {
        Widget* raw = child.get();
        owned_.push_back(std::move(child));
        addChild(raw);
        return raw;
    }
    void removeChild(UI_Object* child);
    // Removes every child, destroying the owned ones.
    void clearChildren();

    const std::vector<UI_Object*>& children() const { return children_; }

    std::string title;  // shown through the master's aliases; empty: no tab
    bool closable = false;

protected:
    // The extension point for events no child took.
    virtual bool handleOwnEvent(const UI_Event& event) { return false; }
    void drawChildren();
    void drawFrame();

private:
    bool overCloseBox(int32_t px, int32_t py) const;

    std::vector<UI_Object*> children_;
    std::vector<std::unique_ptr<UI_Object>> owned_;
};

}  // namespace vorn::ui
