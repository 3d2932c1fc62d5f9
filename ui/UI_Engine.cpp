#include "ui/UI_Engine.h"

#include "platform/WindowMessages.h"
#include "render/GL_MemTexture.h"
#include "render/ImageFile.h"
#include "render/Quads.h"
#include "render/ShaderProgram.h"
#include "ui/TimeTexts.h"
#include "ui/UI_ViewerNode.h"
#include "ui/fwd.frag.glsl.h"
#include "ui/fwd.vert.glsl.h"

namespace vorn::ui {

namespace {
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

UI_Engine* messageTarget = nullptr;
}  // namespace

UI_Engine::UI_Engine() = default;

UI_Engine::~UI_Engine() {
    if (messageTarget == this) messageTarget = nullptr;
}

bool UI_Engine::init(engine::Engine& engineToShow) {
    engine = &engineToShow;
    playing = false;
    playerMode = true;
    displayMode = EditorPanels;
    uiTime = 0.0f;

    master.init(kScreenWidth, kScreenHeight);

    fullScreenPanel = std::make_unique<UI_ImagePanel>("", 0, 0, kScreenWidth, kScreenHeight, true);
    fullScreenPanel->backgroundSelector = &backgroundMode;
    master.addTopLevel(fullScreenPanel.get());

    uiTarget = std::make_unique<render::GL_FrameBuffer>(kScreenWidth, kScreenHeight, 1, 16, GL_RGBA, false, false);
    glBindFramebuffer(GL_FRAMEBUFFER, uiTarget->framebuffer);
    render::SetDrawBuffers(*uiTarget);
    glViewport(0, 0, kScreenWidth, kScreenHeight);
    // A new texture's contents are undefined: start from transparent black so
    // a missing loading picture shows black, not whatever the memory held.
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    drawLoadingPicture();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    fullScreenPanel->image = uiTarget.get();
    return true;
}

// Into the bound uiTarget; a missing or unreadable picture has been reported
// by the loader and leaves the target as it is.
void UI_Engine::drawLoadingPicture() {
    render::LoadedImage picture = render::LoadImageFile(kLoadingPicture, false);
    if (picture.pixels.empty()) return;
    render::ShaderProgram fwd("fwd", glsl_fwd_vert, nullptr, glsl_fwd_frag, {"vertex", "uv"}, 1);
    if (fwd.program) {
        glUseProgram(fwd.program);
        glUniform1i(render::UniformLocation(fwd, "image"), 0);
    }
    {
        render::GL_MemTexture loading(picture.width, picture.height, picture.channels == 3 ? GL_RGB : GL_RGBA,
                                      GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE, picture.pixels.data());
        picture.pixels = {};
        if (fwd.program) render::DrawImageQuad(loading);
        glUseProgram(0);
    }
}

void UI_Engine::update() {
    uiTime = engine ? engine->time : 0.0f;
    if (playerMode) {
        displayMode = FullScreenViewer;
    } else {
        // Held keys switch; F2 is tested last and wins.
        if (platform::asyncKeyState(platform::VK_F1) & 0x8000) displayMode = FullScreenViewer;
        if (platform::asyncKeyState(platform::VK_F2) & 0x8000) displayMode = EditorPanels;
    }
    if (playing) {
        timer.tick();
        uiTime += timer.delta;
    }
    if (!playerMode) {
        timeLabel = timeText(uiTime);
        frameTimeLabel = frameTimeText(engine ? engine->frameDuration : 0.0f);
        int32_t tracks = 0;
        if (engine)
            for (const auto& [node, list] : engine->tracksByNode) tracks += int32_t(list.size());
        if (tracks != trackCountCache) {
            trackCountCache = tracks;
            if (trackCountChanged) trackCountChanged();
        }
    }
}

UI_ViewerNode* UI_Engine::selectedViewerNode() const {
    if (selectedViewer < 0 || std::size_t(selectedViewer) >= viewerList.size()) return nullptr;
    return dynamic_cast<UI_ViewerNode*>(viewerList[std::size_t(selectedViewer)]);
}

void UI_Engine::draw() {
    for (engine::Node* node : viewerList)
        if (auto* viewer = dynamic_cast<UI_ViewerNode*>(node)) viewer->viewerTarget = nullptr;
    UI_ViewerNode* selected = selectedViewerNode();
    if (selected) selected->viewerTarget = uiTarget.get();

    if (displayMode == FullScreenViewer) {
        if (!uiTarget || !selected) return;
        selected->present();

        glBindFramebuffer(GL_FRAMEBUFFER, screenFramebuffer);
        // The projection, viewport and sampler are loaded here rather than
        // left from an earlier widget frame, so the first full-screen frame is
        // right even when no loading frame was drawn; blending is off so the
        // copy replaces the screen whatever the nodes left enabled.
        master.loadScreenSpace();
        glDisable(GL_BLEND);
        master.setBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        master.setColor({1.0f, 1.0f, 1.0f, 1.0f});
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, uiTarget->textures[0]);
        // Texture row 0 is the top of the picture, and (0, 0) lands top-left.
        master.drawTexturedRect(0, 0, kScreenWidth, kScreenHeight, false);
        render::UnbindImageTextures(*uiTarget);
        master.setBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        return;
    }

    glBindFramebuffer(GL_FRAMEBUFFER, screenFramebuffer);
    master.beginFrame();
    bool captureLast = master.capture && master.captureOnTop;
    for (std::size_t i = 0; i < master.topLevel.size(); ++i) {
        UI_Object* widget = master.topLevel[i];
        // The capture widget is held back only when it is drawn on top.
        if (widget->hidden || (captureLast && widget == master.capture)) continue;
        widget->draw();
    }
    if (captureLast && !master.capture->hidden) master.capture->draw();
    master.flush();
    master.clearClip();
    glDisable(GL_BLEND);
}

void handleWindowMessage(uint32_t message, platform::WParam wParam, platform::LParam lParam) {
    if (!messageTarget) return;
    UI_Event event;
    if (messageTarget->master.translate(message, wParam, lParam, event)) messageTarget->master.dispatch(event);
}

void setWindowMessageTarget(UI_Engine* ui) { messageTarget = ui; }

UI_Engine* windowMessageTarget() { return messageTarget; }

}  // namespace vorn::ui
