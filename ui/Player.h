// The show as the player runs it, apart from the window: the engine and the UI
// built in order, the loading frame, the project, then frame after frame. The
// shell drives it from its window loop and the offline capture drives exactly
// the same frames from its own clock, so a captured frame is the frame the
// player would have shown.
#pragma once

#include "engine/Engine.h"
#include "platform/AudioOutput.h"
#include "ui/UI_Engine.h"

#include <functional>
#include <memory>
#include <string>

namespace vorn::ui {

class Player {
public:
    static constexpr const char* kProjectFile = "demo.vorn";
    static constexpr const char* kStartViewer = "Viewer 1";
    // The show ends once the engine has spent more than this in its updates.
    static constexpr float kShowLength = 202.0f;

    // Needs a current GL context. Registers the effect library, builds the
    // engine over the sound device (none: no music), attaches the node
    // classes, initialises it (scripts, music), builds and
    // initialises the UI and hands the UI's target to the engine for new viewers.
    explicit Player(std::unique_ptr<platform::AudioOutput> audio, engine::ConfirmQuestion confirm = {});
    // The music goes first, then the UI, then the engine with its nodes.
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    engine::Engine& engine() { return *engine_; }
    UI_Engine& ui() { return *ui_; }

    // What the screen shows while the project loads: a black frame after one
    // engine update at time 0, then the UI's loading picture. swapBuffers
    // presents what was drawn.
    void showLoadingFrame(const std::function<void()>& swapBuffers);
    // Replaces the scene with the project file (a missing or bad file leaves
    // an empty scene), then lets window messages reach the UI.
    bool loadProject(const std::string& path);

    // One frame onto the screen (not yet presented): clear, UI update, engine
    // update at the UI's time, playback start on the first frame, UI draw.
    void renderFrame();
    // Selects "Viewer 1", starts the UI clock and the music from the engine
    // time. Runs once: on the first frame unless called before it.
    void startPlayback();
    bool playbackStarted() const { return playbackStarted_; }

    // The editor's hold on the frame: no start of playback on the first
    // frame, and a word before the engine update (the clock it drives).
    bool autoStart = true;
    std::function<void()> beforeEngineUpdate;

    // True once the engine's busy time is strictly above the show length.
    bool showIsOver() const { return showIsOver(engine_->busyTime); }
    static bool showIsOver(float busyTime) { return busyTime > kShowLength; }

private:
    void clearScreen();

    std::unique_ptr<engine::Engine> engine_;
    std::unique_ptr<UI_Engine> ui_;
    bool playbackStarted_ = false;
};

}  // namespace vorn::ui
