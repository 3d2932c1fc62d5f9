// A sync client for engine tests: every track's value is a fixed function of
// the row (value = base + row), connect succeeds as the test says, and every
// call is recorded.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/SyncConnection.h"

struct vorn::engine::SyncConnection::Track {
    std::string name;
    double base = 0.0;
};

namespace vorn::test {

struct FakeSyncState {
    bool connectSucceeds = true;
    bool updateSucceeds = true;
    int connects = 0;
    std::vector<uint32_t> rowsReported;
    std::vector<double> rowsRead;
    std::vector<std::string> requested;  // getTrack calls
    std::map<std::string, double> bases;  // base value per track name
    // Commands the tracker sends during the next update.
    std::vector<uint32_t> seekRows;
    std::vector<uint8_t> pauseFlags;
    int isPlayingAnswer = -1;  // what the last update saw from isPlaying
};

class FakeSyncConnection : public engine::SyncConnection {
public:
    explicit FakeSyncConnection(FakeSyncState& state) : s(state) {}
    bool connect() override {
        ++s.connects;
        connected_ = s.connectSucceeds;
        return connected_;
    }
    bool update(uint32_t row, const engine::SyncCallbacks* callbacks, void* context) override {
        // Like the real client: nothing without a connection, and each callback only when present.
        if (!connected_) return false;
        s.rowsReported.push_back(row);
        if (callbacks && callbacks->setRow)
            for (uint32_t seek : s.seekRows) callbacks->setRow(context, seek);
        if (callbacks && callbacks->pause)
            for (uint8_t flag : s.pauseFlags) callbacks->pause(context, flag);
        s.seekRows.clear();
        s.pauseFlags.clear();
        s.isPlayingAnswer = callbacks && callbacks->isPlaying ? callbacks->isPlaying(context) : -1;
        connected_ = s.updateSucceeds;
        return connected_;
    }
    Track* getTrack(const std::string& name) override {
        s.requested.push_back(name);
        auto& track = tracks_[name];
        if (!track) track = std::make_unique<Track>(Track{name, s.bases[name]});
        return track.get();
    }
    double getValue(const Track* track, double row) const override {
        s.rowsRead.push_back(row);
        return track->base + row;
    }
    bool saveTracks() override { return true; }

private:
    FakeSyncState& s;
    std::map<std::string, std::unique_ptr<Track>> tracks_;
    bool connected_ = false;
};

}  // namespace vorn::test
