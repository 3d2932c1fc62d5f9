// The listener a widget tells about its changes: value widgets after an edit,
// panels and command buttons through onWidgetEvent. The defaults ignore both.
#pragma once

namespace vorn::ui {

class UI_Object;

class UI_Evt_ValueChanged {
public:
    virtual ~UI_Evt_ValueChanged() = default;
    virtual void valueChanged(UI_Object* widget) {}
    // Kept for the listener's fixed layout; no caller and no implementation uses it.
    virtual void reservedNotification() {}
    virtual void onWidgetEvent(UI_Object* sender, int argument) {}
};

}  // namespace vorn::ui
