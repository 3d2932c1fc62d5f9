#include "ui/Player.h"

#include "nodes/image/EffectLibrary.h"
#include "ui/NodeTypes.h"

namespace vorn::ui {

Player::Player(std::unique_ptr<platform::AudioOutput> audio, engine::ConfirmQuestion confirm) {
    // Descriptions name library effects; the library must exist before they are read.
    nodes::registerEffectLibrary();
    engine_ = std::make_unique<engine::Engine>(std::move(audio));
    attachNodeClasses(engine_->factory);
    engine_->confirm = std::move(confirm);
    engine_->initialise();
    ui_ = std::make_unique<UI_Engine>();
    ui_->init(*engine_);
    engine_->uiTarget = ui_->uiTarget.get();
}

Player::~Player() {
    if (windowMessageTarget() == ui_.get()) setWindowMessageTarget(nullptr);
    engine_->music.reset();
    // Viewers keep the UI's target until the engine goes, but nothing draws in between.
    engine_->uiTarget = nullptr;
    ui_.reset();
    engine_.reset();
}

void Player::clearScreen() {
    glBindFramebuffer(GL_FRAMEBUFFER, ui_->screenFramebuffer);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void Player::showLoadingFrame(const std::function<void()>& swapBuffers) {
    clearScreen();
    engine_->update(0.0f);
    swapBuffers();
    // The buffer swapped in holds no defined picture; the loading picture may
    // be transparent in places.
    clearScreen();
    ui_->draw();
    swapBuffers();
}

bool Player::loadProject(const std::string& path) {
    bool loaded = engine_->loadProject(path, true, "");
    // Rocket-linked parameters play back from their ".track" files; loading
    // clears the bindings, so this follows every load.
    engine_->startTrackPlayback();
    setWindowMessageTarget(ui_.get());
    return loaded;
}

void Player::renderFrame() {
    clearScreen();
    ui_->update();
    if (beforeEngineUpdate) beforeEngineUpdate();
    engine_->update(ui_->uiTime);
    if (autoStart && !playbackStarted_) startPlayback();
    ui_->draw();
}

void Player::startPlayback() {
    if (playbackStarted_) return;
    playbackStarted_ = true;

    ui_->viewerList.clear();
    auto found = engine_->nodesByName.find(kStartViewer);
    if (found != engine_->nodesByName.end() && found->second->kind() == engine::NodeKind::Output) {
        ui_->viewerList.push_back(found->second);
        ui_->selectedViewer = 0;
    }
    ui_->playing = true;
    ui_->timer.reset(0.0f);
    if (engine_->music) {
        // The project's own music, also when no update has run since it was loaded.
        engine_->music->useFile(engine_->musicFile);
        engine_->music->startPlayback(engine_->time);
    }
}

}  // namespace vorn::ui
