// A sound device for engine tests: sounds "load" unless their file name is in
// missingFiles; the position is whatever the test sets.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/AudioOutput.h"

namespace vorn::test {

struct FakeAudioState {
    std::set<std::string> missingFiles;
    std::vector<std::string> created;  // every createSound call
    bool sound = false;
    bool channel = false;
    bool isPaused = false;
    uint32_t position = 0;
    int plays = 0;
    int updates = 0;
    int releases = 0;
};

class FakeAudioOutput : public platform::AudioOutput {
public:
    explicit FakeAudioOutput(FakeAudioState& state) : s(state) {}
    bool createSound(const std::string& path) override {
        s.created.push_back(path);
        s.sound = !s.missingFiles.count(path);
        return s.sound;
    }
    void releaseSound() override {
        ++s.releases;
        s.sound = false;
        s.channel = false;
    }
    bool hasSound() const override { return s.sound; }
    void playSound() override {
        if (!s.sound) return;
        ++s.plays;
        s.channel = true;
        s.isPaused = false;
        s.position = 0;
    }
    bool hasChannel() const override { return s.channel; }
    void setPaused(bool paused) override { s.isPaused = s.channel ? paused : s.isPaused; }
    bool paused() const override { return s.isPaused; }
    void setPositionMs(uint32_t ms) override { s.position = s.channel ? ms : s.position; }
    uint32_t positionMs() const override { return s.channel ? s.position : 0; }
    void update() override { ++s.updates; }

private:
    FakeAudioState& s;
};

}  // namespace vorn::test
