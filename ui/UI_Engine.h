// The user-interface master. In the player it owns the 1920x1080 target
// "targetEngineUI" that the selected viewer draws into, shows the loading
// picture while the project loads, presents the viewer's picture full screen
// every frame and keeps the play clock the shell hands to the engine. It also
// receives the window's input (handleWindowMessage) and routes it to its widgets.
//
// Display modes: 1 draws the widgets (the loading frame, the editor), 2 copies
// the selected viewer's picture to the screen. The player is always in mode 2
// once its frames run.
#pragma once

#include "engine/Engine.h"
#include "platform/WindowMessages.h"
#include "render/GL_FrameBuffer.h"
#include "ui/PlayTimer.h"
#include "ui/UI_Evt_ValueChanged.h"
#include "ui/UI_ImagePanel.h"
#include "ui/UI_Master.h"

#include <GL/glew.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vorn::ui {

class UI_ViewerNode;

enum DisplayMode : int32_t { EditorPanels = 1, FullScreenViewer = 2 };

class UI_Engine : private UI_Evt_ValueChanged {
public:
    // Path of the picture shown while the project loads.
    static constexpr const char* kLoadingPicture = ".\\rsrc\\misc\\loading.png";

    UI_Engine();
    ~UI_Engine() override;
    UI_Engine(const UI_Engine&) = delete;
    UI_Engine& operator=(const UI_Engine&) = delete;

    // Programs, fonts, the full-screen panel, the target and the loading
    // picture drawn into it. Problems are reported by the parts that have them
    // and do not stop the UI: always true.
    bool init(engine::Engine& engine);
    // Before the engine update: the clock and the display mode.
    void update();
    // After the engine update: the selected viewer's picture (mode 2) or the
    // widgets (mode 1) onto the screen.
    void draw();

    // The selected viewer when it is one, else null.
    UI_ViewerNode* selectedViewerNode() const;

    UI_Master master;
    engine::Engine* engine = nullptr;
    bool playerMode = false;
    int32_t displayMode = EditorPanels;
    float uiTime = 0.0f;
    bool playing = false;
    PlayTimer timer;
    std::unique_ptr<UI_ImagePanel> fullScreenPanel;
    int32_t backgroundMode = 0;
    std::vector<engine::Node*> viewerList;
    int32_t selectedViewer = -1;
    std::unique_ptr<render::GL_FrameBuffer> uiTarget;
    int32_t trackCountCache = 0;
    // Told (editor only) when the number of keyframe tracks differs from the cache.
    std::function<void()> trackCountChanged;
    // The editor's clock and frame-time labels, written by update outside the player.
    std::string timeLabel;
    std::string frameTimeLabel;
    // The framebuffer that stands for the screen: 0 (the window) in the
    // player; the offline capture presents into a target of its own.
    GLuint screenFramebuffer = 0;

private:
    void drawLoadingPicture();
};

// Routes a window message to the UI set by setWindowMessageTarget; ignored
// while none is set (before the project has loaded, after shutdown began).
void handleWindowMessage(uint32_t message, platform::WParam wParam, platform::LParam lParam);
void setWindowMessageTarget(UI_Engine* ui);
UI_Engine* windowMessageTarget();

}  // namespace vorn::ui
