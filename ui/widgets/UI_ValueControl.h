// The float editor every float parameter gets: its label, and its value as a
// text that the user drags sideways (Control for a twentieth of the speed) or,
// after a double click, types. A right click restores the default. When
// keyable, S toggles keyframe tracks, R a sync-track link and P keys the
// current value; the outline shows keyframes, the left bar a link.
#pragma once

#include "engine/Value.h"
#include "engine/Value_Keyframe_Handler.h"
#include "ui/UI_Object.h"

#include <cstdint>
#include <string>

namespace vorn::ui {

// v kept inside the record's range: clamped, or wrapped with C's fmod (a value
// below the minimum stays below it). An empty range holds the minimum.
float limitValue(float v, const engine::ValueFloat& range);

// The value as the control shows it: with the record's decimals, and as a
// percentage ("50.00%") when percent.
std::string valueText(float value, int32_t decimals, bool percent);

class UI_ValueControl : public UI_Object {
public:
    static constexpr std::size_t kMaxTyped = 80;

    UI_ValueControl(std::string name, int32_t x, int32_t y, int32_t width, bool keyable);

    // Copies the parameter's record; keying and links go to handler.
    void bind(const engine::ValueFloat& record, engine::Value_Keyframe_Handler* handler, std::string nodeName);

    void draw() override;
    bool handleEvent(const UI_Event& event) override;
    void refresh() override;

    float value() const { return parameter.target ? *parameter.target : 0.0f; }
    bool keyed() const { return highlight != 0; }
    bool syncLinked() const { return secondFlag != 0; }

    bool percentDisplay = false;
    int32_t labelWidth = 0;
    engine::ValueFloat parameter;
    engine::Value_Keyframe_Handler* keyframeHandler = nullptr;
    std::string nodeName;
    std::string parameterName;
    bool editing = false;
    std::string typed;
    float dragStartValue = 0.0f;
    int32_t dragStartX = 0;
    float dragFactor = 1.0f;
    bool keyable = false;

private:
    void setValue(float v);
    void releaseCapture();
    std::string syncTrackName() const;
};

}  // namespace vorn::ui
