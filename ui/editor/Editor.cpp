// The editor's panels, its frame, and what the widgets and keys set going.
// The commands themselves are in EditorCommands.cpp.
#include "ui/editor/Editor.h"

#include "platform/Debug.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "platform/WindowMessages.h"
#include "ui/UI_Master.h"

#include <algorithm>

namespace vorn::ui::editor {

using namespace platform;

namespace {

// Where the panels stand: the command bar across the top, the node types and
// tracks on the left, the parameters and settings on the right, the viewer
// and the graph between them.
constexpr int32_t kScreenWidth = 1920, kScreenHeight = 1080;
constexpr int32_t kBarHeight = 68;
constexpr int32_t kTop = kBarHeight + 4;
constexpr int32_t kLeftWidth = 240;
constexpr int32_t kRightX = 1516, kRightWidth = kScreenWidth - kRightX;
constexpr int32_t kMiddleX = kLeftWidth + 4, kMiddleWidth = kRightX - 4 - kMiddleX;
constexpr int32_t kMiddleHeight = kScreenHeight - kTop;
constexpr int32_t kSettingsHeight = 150;

const char* const kStepChoices[] = {"1/60 s", "1/30 s", "1/15 s", "1/10 s", "1/5 s", "1/2 s", "1 s"};

}  // namespace

// Receives every key press that no capture holds (key events reach all
// top-level widgets, and this one comes first). While the picture fills the
// screen it also covers it and takes the mouse, so that no hidden panel reacts.
class Editor::Shortcuts : public UI_Object {
public:
    explicit Shortcuts(Editor& editor) : editor_(editor) {}
    bool handleEvent(const UI_Event& event) override {
        if (event.kind == KeyDown) return editor_.handleShortcut(event);
        return event.kind != KeyUp && event.kind != Char;
    }
    void cover(bool screen) {
        setPosition(screen ? 0 : -100, screen ? 0 : -100);
        setSize(screen ? kScreenWidth : 0, screen ? kScreenHeight : 0);
    }

private:
    Editor& editor_;
};

EditorServices EditorServices::withDefaults(EditorServices services) {
    if (!services.confirm) services.confirm = [](const std::string& text) { return askOkCancel("VORN", text); };
    if (!services.pickProject)
        services.pickProject = [] { return openFileDialog(OpenFileRequest{"Vorn", "*.vorn", false}); };
    if (!services.localTime)
        services.localTime = [] {
            std::time_t now = std::time(nullptr);
            std::tm local{};
            localtime_r(&now, &local);
            return local;
        };
    return services;
}

Editor::Editor(Player& player, EditorServices services)
    : player_(player),
      engine_(player.engine()),
      ui_(player.ui()),
      master_(player.ui().master),
      services_(EditorServices::withDefaults(std::move(services))) {
    ui_.playerMode = false;
    ui_.displayMode = EditorPanels;
    player_.autoStart = false;
    // The transport drives the clock while no music runs it.
    player_.beforeEngineUpdate = [this] {
        const engine::MusicPlayer* music = engine_.music.get();
        bool musicRuns = music && music->started && music->system->hasChannel() && !music->system->paused();
        if (!musicRuns) engine_.time = ui_.uiTime;
    };
    ui_.trackCountChanged = [this] { rebuildTrackList(); };
    // The full-screen panel served the loading frame; in the editor it would take every event.
    if (ui_.fullScreenPanel) ui_.fullScreenPanel->hidden = true;
    buildPanels();
    placePanels();
}

Editor::~Editor() {
    ui_.trackCountChanged = nullptr;
    player_.beforeEngineUpdate = nullptr;
    for (UI_Object* widget : std::vector<UI_Object*>{shortcuts_.get(), commandBar_.get(), nodeList_.get(), trackList_.get(),
                                                      graph_.get(), viewer_.get(), parameters_.get(), settings_.get()})
        master_.removeTopLevel(widget);
    if (master_.capture) master_.capture = nullptr;
    // A tracker this editor started ends with it.
    if (tracker_) tracker_->terminate();
}

UI_Button* Editor::addButton(const std::string& label, const std::string& shortcut, int32_t x, int32_t y, int32_t width) {
    auto* button = commandBar_->adopt(std::make_unique<UI_Button>(label, shortcut, x, y, width, 28));
    button->valueListener = this;
    buttons_.push_back(button);
    return button;
}

UI_Button& Editor::button(const std::string& label) {
    for (UI_Button* candidate : buttons_)
        if (candidate->label == label) return *candidate;
    return *buttons_.front();
}

void Editor::buildPanels() {
    shortcuts_ = std::make_unique<Shortcuts>(*this);
    shortcuts_->cover(false);
    master_.addTopLevel(shortcuts_.get());

    commandBar_ = std::make_unique<UI_Panel>(0, 0, kScreenWidth, kBarHeight, false);
    master_.addTopLevel(commandBar_.get());
    int32_t x = 6;
    auto next = [&](int32_t width, int32_t gap = 4) {
        int32_t at = x;
        x += width + gap;
        return at;
    };
    saveButton_ = addButton("SAVE", "Ctrl+S", next(116), 4, 116);
    reloadButton_ = addButton("RELOAD", "F5", next(104), 4, 104);
    importButton_ = addButton("IMPORT", "Ctrl+O", next(126), 4, 126);
    revertButton_ = addButton("REVERT", "Ctrl+Z", next(126), 4, 126);
    clearButton_ = addButton("CLEAR", "", next(72, 20), 4, 72);
    presentButton_ = addButton("PRESENTATION", "Tab", next(150), 4, 150);
    editButton_ = addButton("EDITOR", "Tab", next(104, 20), 4, 104);
    const char* layoutNames[] = {"VIEWER", "GRAPH", "SPLIT"};
    for (int i = 0; i < 3; ++i) layoutButtons_[std::size_t(i)] = addButton(layoutNames[i], "", next(80), 4, 80);
    rocketButton_ = addButton("LAUNCH ROCKET", "Ctrl+R", kScreenWidth - 232, 4, 226);

    x = 6;
    rewindButton_ = addButton("|<", "Home", next(76), 36, 76);
    stepBackButton_ = addButton("<", "Left", next(70), 36, 70);
    playButton_ = addButton("PLAY", "Space", next(110), 36, 110);
    stepForwardButton_ = addButton(">", "Right", next(76, 14), 36, 76);
    timeLabel_ = commandBar_->adopt(std::make_unique<UI_Label>("", next(96), 36, 96, 28, 16));
    timeLabel_->source = &ui_.timeLabel;
    timeLabel_->colour = master_.palette[9];
    frameLabel_ = commandBar_->adopt(std::make_unique<UI_Label>("", next(150), 36, 150, 28));
    frameLabel_->source = &ui_.frameTimeLabel;
    frameLabel_->colour = master_.palette[2];

    auto selection = [&](const std::string& name, int32_t width, int32_t* target, std::vector<std::string> choices) {
        auto made = std::make_unique<UI_Selection>(name, 0, 35, width);
        made->setPosition(next(width), 35);
        made->target = target;
        made->choices = std::move(choices);
        made->valueListener = this;
        return commandBar_->adopt(std::move(made));
    };
    stepChoice_ = selection("Step", 190, &stepIndex, {std::begin(kStepChoices), std::end(kStepChoices)});
    stepChoice_->defaultValue = 3;
    viewerChoice_ = selection("Viewer", 230, &ui_.selectedViewer, {});
    backgroundChoice_ = selection("Back", 170, &backgroundMode_, {"Black", "White", "Red", "Green", "Blue"});
    statusLabel_ = commandBar_->adopt(std::make_unique<UI_Label>("", next(kScreenWidth - x - 6), 36, kScreenWidth - x - 6, 28));
    statusLabel_->source = &status;
    statusLabel_->colour = master_.palette[0];

    nodeList_ = std::make_unique<UI_List>("NEW NODE", 0, kTop, kLeftWidth, 560);
    nodeList_->valueListener = this;
    nodeList_->setItems(engine_.nodeTypeNames);
    master_.addTopLevel(nodeList_.get());
    trackList_ = std::make_unique<UI_List>("KEYFRAME TRACKS", 0, kTop + 564, kLeftWidth, kScreenHeight - kTop - 564);
    trackList_->valueListener = this;
    master_.addTopLevel(trackList_.get());

    graph_ = std::make_unique<NodeGraph>(engine_, kMiddleX, kTop, kMiddleWidth, kMiddleHeight);
    graph_->valueListener = this;
    graph_->listener.openParameters = [this](const std::string& name) { openParameters(name); };
    graph_->listener.say = [this](const std::string& message) { say(message); };
    master_.addTopLevel(graph_.get());

    viewer_ = std::make_unique<UI_ImagePanel>("viewer", kMiddleX, kTop, 16 * 56, 9 * 56, false);
    viewer_->image = ui_.uiTarget.get();
    viewer_->backgroundSelector = &backgroundMode_;
    master_.addTopLevel(viewer_.get());

    parameters_ = std::make_unique<ParameterPanel>(engine_, kRightX, kTop, kRightWidth,
                                                   kScreenHeight - kTop - kSettingsHeight - 4);
    parameters_->valueListener = this;
    master_.addTopLevel(parameters_.get());

    settings_ = std::make_unique<UI_Panel>(kRightX, kScreenHeight - kSettingsHeight, kRightWidth, kSettingsHeight, false);
    settings_->title = "PROJECT SETTINGS";
    master_.addTopLevel(settings_.get());
    std::string* targets[] = {&engine_.resourceDirectory, &engine_.musicFile, &engine_.alternateMusicFile};
    const char* labels[] = {"Resource folder", "Music file", "Other music"};
    for (int i = 0; i < 3; ++i) {
        auto box = std::make_unique<UI_TextBox>(labels[i], 5, 22 + i * 40, kRightWidth - 14);
        box->target = targets[i];
        box->valueListener = this;
        settingsBoxes_[std::size_t(i)] = settings_->adopt(std::move(box));
    }
}

void Editor::placePanels() {
    for (UI_Object* panel : std::vector<UI_Object*>{nodeList_.get(), trackList_.get(), parameters_.get(), settings_.get()})
        panel->hidden = presenting;
    for (UI_Button* toggle : layoutButtons_) {
        toggle->hidden = presenting;
        toggle->pressed = toggle == layoutButtons_[std::size_t(panelLayout)];
    }
    presentButton_->pressed = presenting;
    editButton_->pressed = !presenting;
    if (presenting) {
        graph_->hidden = true;
        viewer_->hidden = false;
        int32_t height = kMiddleHeight, width = height * 16 / 9;
        viewer_->setPosition((kScreenWidth - width) / 2, kTop);
        viewer_->setSize(width, height);
        return;
    }
    // The layouts: the viewer alone, the graph alone, or the viewer above the graph.
    graph_->hidden = panelLayout == 0;
    viewer_->hidden = panelLayout == 1;
    if (panelLayout == 0) {
        int32_t height = kMiddleWidth * 9 / 16;
        viewer_->setPosition(kMiddleX, kTop + (kMiddleHeight - height) / 2);
        viewer_->setSize(kMiddleWidth, height);
    } else if (panelLayout == 2) {
        int32_t height = 504, width = height * 16 / 9;
        viewer_->setPosition(kMiddleX + (kMiddleWidth - width) / 2, kTop);
        viewer_->setSize(width, height);
        graph_->setPosition(kMiddleX, kTop + height + 4);
        graph_->setSize(kMiddleWidth, kMiddleHeight - height - 4);
    }
    if (panelLayout == 1) {
        graph_->setPosition(kMiddleX, kTop);
        graph_->setSize(kMiddleWidth, kMiddleHeight);
    }
}

void Editor::open(const std::string& file) {
    std::string stem = file;
    if (stem.size() > 5 && stem.compare(stem.size() - 5, 5, ".vorn") == 0) stem.resize(stem.size() - 5);
    projectStem = stem;
    if (fileExists(projectFile())) {
        player_.loadProject(projectFile());
        readGui(guiFile(), true, "");
        say("Opened " + projectFile());
    } else {
        // Nothing to load: the clock starts at 0 as after a load, and the
        // window's input still goes to the UI.
        engine_.time = 0.0f;
        setWindowMessageTarget(&ui_);
        say("New production: SAVE writes " + projectFile());
    }
    refreshAfterLoad();
    rememberSavedState();
}

void Editor::renderFrame() {
    shortcuts_->cover(ui_.displayMode == FullScreenViewer);
    // The play button and its label follow the clock, also when the tracker steers it.
    playButton_->pressed = ui_.playing;
    playButton_->label = ui_.playing ? "PAUSE" : "PLAY";
    player_.renderFrame();
}

void Editor::say(const std::string& message) { status = message; }

void Editor::valueChanged(UI_Object* widget) {
    // The resource folder fills the music files that have no name yet.
    if (widget != settingsBoxes_[0]) return;
    if (engine_.musicFile.empty()) engine_.musicFile = engine_.resourceDirectory;
    if (engine_.alternateMusicFile.empty()) engine_.alternateMusicFile = engine_.resourceDirectory;
}

void Editor::onWidgetEvent(UI_Object* sender, int argument) {
    if (sender == saveButton_) save();
    else if (sender == reloadButton_) reload();
    else if (sender == importButton_) importWithDialog();
    else if (sender == revertButton_) revert();
    else if (sender == clearButton_) clear();
    else if (sender == presentButton_) presentationView();
    else if (sender == editButton_) editorView();
    else if (sender == rewindButton_) rewind();
    else if (sender == stepBackButton_) stepBack();
    else if (sender == playButton_) playPause();
    else if (sender == stepForwardButton_) stepForward();
    else if (sender == rocketButton_) toggleRocket();
    else if (sender == parameters_.get()) parameters_->clear(viewer_.get());
    else if (sender == nodeList_.get() && std::size_t(argument) < engine_.nodeTypeNames.size())
        createNode(engine_.nodeTypeNames[std::size_t(argument)]);
    else if (sender == trackList_.get() && std::size_t(argument) < trackNames.size()) {
        for (const auto& [nodeName, tracks] : engine_.tracksByNode)
            for (const engine::KeyframeTrack& track : tracks)
                if (track.trackName == trackNames[std::size_t(argument)]) return openParameters(nodeName);
    }
    for (int32_t i = 0; i < 3; ++i)
        if (sender == layoutButtons_[std::size_t(i)] && argument == 0) applyLayout(i);
}

bool Editor::handleShortcut(const UI_Event& event) {
    const bool ctrl = event.ctrl != 0;
    switch (event.value) {
        case 'S': if (!ctrl) return false; save(); return true;
        case 'Z': if (!ctrl) return false; revert(); return true;
        case 'O': if (!ctrl) return false; importWithDialog(); return true;
        case 'R': if (!ctrl) return false; toggleRocket(); return true;
        case 'Q': if (!ctrl) return false; requestQuit(); return true;
        case 0x74 /* F5 */: reload(); return true;
        case VK_SPACE: playPause(); return true;
        case VK_HOME: rewind(); return true;
        case VK_LEFT: stepBack(); return true;
        case VK_RIGHT: stepForward(); return true;
        case VK_PRIOR: changeStep(1); return true;
        case VK_NEXT: changeStep(-1); return true;
        case VK_TAB: presenting ? editorView() : presentationView(); return true;
        case VK_DELETE: return deleteSelectedNode();
        default: return false;
    }
}

void Editor::changeStep(int32_t delta) {
    stepIndex = std::clamp(stepIndex + delta, 0, int32_t(kStepTable.size()) - 1);
    say(std::string("Step ") + kStepChoices[stepIndex]);
}

void Editor::openParameters(const std::string& nodeName) {
    graph_->selectedNode = nodeName;
    parameters_->show(nodeName, this, viewer_.get());
}

bool Editor::createNode(const std::string& typeName) {
    // "<type> <n>": the type's next number, past any name already taken.
    uint32_t number = engine_.typeCounters.count(typeName) ? engine_.typeCounters[typeName] : 0;
    std::string name;
    do name = typeName + " " + std::to_string(++number);
    while (engine_.findNode(name) || engine_.nodeTypes.count(name));
    if (!engine_.createNode(name, typeName)) {
        // The registry keeps the type of a node it could not make; the editor made none.
        engine_.nodeTypes.erase(name);
        say("cannot create a \"" + typeName + "\" node");
        return false;
    }
    engine_.typeCounters[typeName] = number;
    captureBoxes();
    layoutMap[name] = graph_->placeInView();
    rebuildNodeEditor();
    openParameters(name);
    say("Created " + name);
    return true;
}

bool Editor::deleteSelectedNode() {
    std::string name = graph_->selectedNode;
    if (name.empty() || !engine_.findNode(name)) return false;
    if (parameters_->nodeName() == name) parameters_->clear(viewer_.get());
    captureBoxes();
    engine_.deleteNode(name);
    layoutMap.erase(name);
    boxFlags.erase(name);
    master_.nameAlias.erase(name);
    rebuildNodeEditor();
    rebuildTrackList();
    say("Deleted " + name);
    return true;
}

void Editor::captureBoxes() {
    for (UI_Node* box : graph_->boxes()) {
        layoutMap[box->nodeName] = graph_->placeOf(*box);
        boxFlags[box->nodeName] = box->flag;
    }
}

void Editor::rebuildNodeEditor() {
    graph_->rebuild(layoutMap, boxFlags);

    // The viewers the UI can show, in the order the engine made them.
    ui_.viewerList.assign(engine_.outputNodes.begin(), engine_.outputNodes.end());
    std::vector<std::string> choices;
    for (engine::Node* viewer : ui_.viewerList) choices.push_back(master_.aliasOf(viewer->name));
    viewerChoice_->choices = choices;
    if (ui_.selectedViewer < 0 || std::size_t(ui_.selectedViewer) >= ui_.viewerList.size())
        ui_.selectedViewer = ui_.viewerList.empty() ? -1 : 0;
}

void Editor::rebuildTrackList() {
    trackNames.clear();
    std::vector<std::string> labels;
    for (const auto& [nodeName, tracks] : engine_.tracksByNode)
        for (const engine::KeyframeTrack& track : tracks) {
            trackNames.push_back(track.trackName);
            // The node's alias in place of the name before the first ".".
            std::size_t dot = track.trackName.find('.');
            std::string node = track.trackName.substr(0, dot);
            labels.push_back(master_.aliasOf(node) + "." +
                             (dot == std::string::npos ? track.trackName : track.trackName.substr(dot + 1)));
        }
    ui_.trackCountCache = int32_t(trackNames.size());
    trackList_->setItems(std::move(labels));
}

}  // namespace vorn::ui::editor
