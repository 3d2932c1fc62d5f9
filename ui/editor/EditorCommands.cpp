// The editor's commands: saving with snapshots, reloading, reverting,
// clearing, importing, the views, the transport and the Rocket button.
#include "engine/ProjectWriter.h"
#include "platform/Debug.h"
#include "platform/FileLimits.h"
#include "platform/Paths.h"
#include "ui/UI_Master.h"
#include "ui/editor/Editor.h"
#include "ui/editor/GuiFile.h"
#include "ui/editor/SaveStamp.h"

#include <algorithm>
#include <cmath>

namespace vorn::ui::editor {

using namespace platform;

namespace {

// The production in an order that does not depend on hash maps, to tell
// whether it changed.
void sortDocument(engine::ProjectDocument& document) {
    auto byName = [](const auto& a, const auto& b) { return a.nodeName < b.nodeName; };
    for (engine::ProjectSection& section : document.sections) {
        if (auto* nodes = std::get_if<engine::NodesSection>(&section)) std::sort(nodes->begin(), nodes->end(), byName);
        if (auto* counters = std::get_if<engine::CountersSection>(&section))
            std::sort(counters->begin(), counters->end(), [](const auto& a, const auto& b) { return a.key < b.key; });
        if (auto* wiring = std::get_if<engine::WiringSection>(&section)) std::sort(wiring->begin(), wiring->end(), byName);
        if (auto* values = std::get_if<engine::ParametersSection>(&section)) std::sort(values->begin(), values->end(), byName);
        if (auto* tracks = std::get_if<engine::TracksSection>(&section)) std::sort(tracks->begin(), tracks->end(), byName);
    }
}

}  // namespace

GuiLayout Editor::guiLayout() const {
    GuiLayout layout;
    std::vector<std::string> names;
    for (const auto& [name, place] : layoutMap) names.push_back(name);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        auto [px, py] = layoutMap.at(name);
        layout.positions.push_back({name, px, py});
        layout.aliases.push_back({name, master_.aliasOf(name)});
    }
    for (const UI_Node* box : graph_->boxes()) layout.boxes.push_back({box->nodeName, box->flag});
    return layout;
}

std::vector<uint8_t> Editor::productionState() const {
    // As a save would write it: animated values at time 0.
    float time = engine_.time;
    engine_.time = 0.0f;
    engine_.evaluateKeyframes();
    engine::ProjectDocument document = engine_.projectDocument();
    engine_.time = time;
    engine_.evaluateKeyframes();
    sortDocument(document);
    std::vector<uint8_t> state = engine::writeProjectDocument(document);
    GuiLayout layout = guiLayout();
    // Boxes where they stand now, not where they stood at the last rebuild.
    for (GuiLayout::Position& position : layout.positions)
        if (const UI_Node* box = graph_->box(position.name)) std::tie(position.x, position.y) = graph_->placeOf(*box);
    std::vector<uint8_t> gui = writeGuiFile(layout);
    state.insert(state.end(), gui.begin(), gui.end());
    return state;
}

void Editor::rememberSavedState() { savedState_ = productionState(); }

bool Editor::changedSinceSave() const { return productionState() != savedState_; }

bool Editor::writeSnapshotPair(const std::string& base) {
    bool project = engine_.saveProject(base + ".vorn");
    bool layout = writeFile(base + ".vorngui", writeGuiFile(guiLayout()));
    if (!layout) debugLine("cannot write layout file " + base + ".vorngui");
    return project && layout;
}

bool Editor::save() {
    captureBoxes();
    if (!writeSnapshotPair(projectStem)) {
        say("SAVE FAILED: cannot write " + projectFile() + " or " + guiFile());
        return false;
    }
    rememberSavedState();
    // The snapshot: the resource folder, the project's name and the time,
    // made unique when a save in the same second took that name already.
    std::string base = engine_.resourceDirectory + "\\" + engine_.projectName;
    std::string stamp = freeStamp(saveStamp(services_.localTime()), [&](const std::string& candidate) {
        return fileExists(base + candidate + ".vorn") || fileExists(base + candidate + ".vorngui");
    });
    makeDirectory(engine_.resourceDirectory);
    if (!writeSnapshotPair(base + stamp)) {
        say("Saved " + projectFile() + ", but its snapshot could not be written to " + engine_.resourceDirectory);
        return true;
    }
    revertHistory.push_back(base + stamp + ".vorngui");
    revertHistory.push_back(base + stamp + ".vorn");
    say("Saved " + projectFile() + " (snapshot " + stamp + ")");
    return true;
}

void Editor::refreshAfterLoad() {
    parameters_->clear(viewer_.get());
    stopPlayback();
    ui_.uiTime = engine_.time;
    rebuildNodeEditor();
    rebuildTrackList();
    rebindSync();
}

void Editor::rebindSync() {
    // Loading forgets every binding: a running tracker connection binds the
    // new links afresh, otherwise linked parameters play their track files.
    if (rocketRunning) engine_.connectSync();
    else engine_.startTrackPlayback();
}

bool Editor::readGui(const std::string& path, bool replace, const std::string& prefix) {
    if (!fileExists(path)) return false;
    std::string whyNot;
    std::optional<std::vector<uint8_t>> bytes = readFile(path, kMaxLayoutFileBytes, &whyNot);
    if (!bytes) {
        debugLine("cannot read layout file " + path + ": " + whyNot);
        return false;
    }
    GuiReadResult read = readGuiFile(*bytes);
    if (!read.complete) debugLine("layout file " + path + " is damaged (" + read.problem + "); kept what came before");

    float offsetX = 0.0f;
    if (replace) {
        layoutMap.clear();
        boxFlags.clear();
        master_.nameAlias.clear();
    } else if (!read.layout.positions.empty()) {
        // Boxes read into a production go right of every box it has.
        float rightmost = -1.0e30f, leftmostRead = 1.0e30f;
        for (const auto& [name, place] : layoutMap) rightmost = std::max(rightmost, place.first);
        for (const GuiLayout::Position& position : read.layout.positions)
            if (std::isfinite(position.x)) leftmostRead = std::min(leftmostRead, position.x);
        if (!layoutMap.empty() && leftmostRead < 1.0e30f) offsetX = rightmost + 220.0f - leftmostRead;
    }
    for (const GuiLayout::Position& position : read.layout.positions) {
        // A position that is no number would put the box nowhere: it is placed afresh instead.
        if (!std::isfinite(position.x) || !std::isfinite(position.y)) continue;
        layoutMap[prefix + position.name] = {position.x + offsetX, position.y};
    }
    for (const GuiLayout::Alias& alias : read.layout.aliases)
        if (alias.alias != alias.name && !alias.alias.empty()) master_.nameAlias[prefix + alias.name] = alias.alias;
    for (const GuiLayout::Box& box : read.layout.boxes) boxFlags[prefix + box.name] = box.flag;
    return read.complete;
}

bool Editor::reload() {
    if (!engine_.loadProject(projectFile(), true, "")) {
        say("Reload: cannot load " + projectFile());
        return false;
    }
    readGui(guiFile(), true, "");
    refreshAfterLoad();
    rememberSavedState();
    say("Reloaded " + projectFile());
    return true;
}

bool Editor::revert() {
    if (revertHistory.size() < 2) {
        say("Nothing to revert to");
        return false;
    }
    std::string project = revertHistory.back();
    if (!engine_.loadProject(project, true, "")) {
        say("Revert: cannot load " + project);
        return false;
    }
    revertHistory.pop_back();
    readGui(revertHistory.back(), true, "");
    revertHistory.pop_back();
    refreshAfterLoad();
    say("Reverted to " + project);
    return true;
}

bool Editor::clear() {
    if (!services_.confirm("Erase all data and content?")) return false;
    parameters_->clear(viewer_.get());
    engine_.clearScene();
    // The layout and aliases of the old nodes would pass to new ones of the same name.
    layoutMap.clear();
    boxFlags.clear();
    master_.nameAlias.clear();
    rebuildNodeEditor();
    rebuildTrackList();
    viewer_->clearHandles();
    if (ui_.fullScreenPanel) ui_.fullScreenPanel->clearHandles();
    say("Cleared");
    return true;
}

bool Editor::importProject(const std::string& path) {
    // X: the file name without its folder and extension; a name without "." is no project.
    std::size_t slash = path.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    std::string stem = name.substr(0, dot);
    captureBoxes();
    // The production keeps its own name, folders and music: only the nodes come in.
    engine::ProjectHeader kept{engine_.projectName, engine_.resourceDirectory, engine_.musicFile,
                               engine_.alternateMusicFile, engine_.headerText};
    bool loaded = engine_.loadProject(folder + stem + ".vorn", false, stem + "-");
    std::tie(engine_.projectName, engine_.resourceDirectory, engine_.musicFile, engine_.alternateMusicFile,
             engine_.headerText) = std::tie(kept.projectName, kept.resourceDirectory, kept.musicFile,
                                            kept.alternateMusicFile, kept.headerText);
    readGui(folder + stem + ".vorngui", false, stem + "-");
    refreshAfterLoad();
    say(loaded ? "Imported " + stem + ".vorn as \"" + stem + "-\"" : "Import: cannot load " + folder + stem + ".vorn");
    return loaded;
}

void Editor::importWithDialog() {
    if (std::optional<std::string> chosen = services_.pickProject()) importProject(*chosen);
}

void Editor::presentationView() {
    presenting = true;
    placePanels();
}

void Editor::editorView() {
    presenting = false;
    placePanels();
}

void Editor::applyLayout(int32_t layout) {
    panelLayout = std::clamp(layout, 0, 2);
    placePanels();
}

void Editor::seek() {
    engine_.time = ui_.uiTime;
    if (engine_.music) engine_.music->system->setPositionMs(uint32_t(std::max(0.0f, ui_.uiTime) * 1000.0f));
}

void Editor::stepForward() {
    ui_.uiTime += 1.0f / float(kStepTable[std::size_t(stepIndex)]);
    seek();
}

void Editor::stepBack() {
    ui_.uiTime = std::max(0.0f, ui_.uiTime - 1.0f / float(kStepTable[std::size_t(stepIndex)]));
    seek();
}

void Editor::rewind() {
    ui_.uiTime = 0.0f;
    seek();
}

void Editor::playPause() {
    ui_.playing = !ui_.playing;
    if (ui_.playing) ui_.timer.reset(0.0f);
    engine::MusicPlayer* music = engine_.music.get();
    if (!music) return;
    music->useFile(engine_.musicFile);
    uint32_t position = uint32_t(std::max(0.0f, engine_.time) * 1000.0f);
    music->system->setPositionMs(position);
    if (ui_.playing) {
        if (music->started) {
            music->system->setPaused(false);
        } else {
            music->system->playSound();
            music->started = true;
            // A new channel starts at the beginning; the show goes on from where the editor stands.
            music->system->setPositionMs(position);
        }
    } else if (music->started) {
        music->system->setPaused(true);
    }
}

void Editor::stopPlayback() {
    ui_.playing = false;
    if (engine_.music && engine_.music->started) engine_.music->system->setPaused(true);
}

void Editor::toggleRocket() {
    if (!rocketRunning) {
        tracker_ = Process::start(services_.trackerProgram);
        if (!tracker_) say("cannot start the tracker " + services_.trackerProgram + "; waiting for one started by hand");
        rocketRunning = true;
        rocketButton_->label = "TERMINATE ROCKET";
        rocketButton_->pressed = true;
        stopPlayback();
        ui_.uiTime = 0.0f;
        engine_.time = 0.0f;
        if (engine_.music) engine_.music->system->setPositionMs(0);
        // A tracker just started is rarely listening yet: the engine tries again every frame.
        if (engine_.connectSync()) say("Connected to the tracker");
        else if (tracker_) say("Tracker started; connecting");
        return;
    }
    if (engine_.syncClient && !engine_.syncPlayback) engine_.syncClient->saveTracks();
    engine_.disconnectSync();
    if (tracker_) tracker_->terminate();
    tracker_.reset();
    rocketRunning = false;
    rocketButton_->label = "LAUNCH ROCKET";
    rocketButton_->pressed = false;
    engine_.startTrackPlayback();
    say("Tracker closed; its tracks are saved");
}

bool Editor::requestQuit() {
    if (!changedSinceSave() || services_.confirm("Quit without saving?")) quit_ = true;
    return quit_;
}

}  // namespace vorn::ui::editor
