// The editor: the panels around the player's picture and the commands behind
// them. It runs on the player's engine, UI and per-frame path, so its viewer
// shows exactly the picture the player would show at that time.
//
// Panels: a command bar (file commands, views and layouts, the transport with
// the clock and frame-time labels, the viewer and step choices, the Rocket
// button, the last message), the node types to create, the keyframe tracks,
// the node graph, the viewer, the parameters of the node last opened, and the
// project settings. Shortcuts act while no widget types or holds the capture.
//
// The production is the project file it was opened with (the player's
// "demo.vorn" by default) and the layout file beside it; saves leave
// time-stamped snapshots in the resource directory, which revert steps back
// through.
#pragma once

#include "engine/Engine.h"
#include "platform/Process.h"
#include "ui/Player.h"
#include "ui/UI_Evt_ValueChanged.h"
#include "ui/UI_ImagePanel.h"
#include "ui/editor/EditorServices.h"
#include "ui/editor/GuiFile.h"
#include "ui/editor/NodeGraph.h"
#include "ui/editor/ParameterPanel.h"
#include "ui/widgets/UI_Button.h"
#include "ui/widgets/UI_Label.h"
#include "ui/widgets/UI_List.h"
#include "ui/widgets/UI_Panel.h"
#include "ui/widgets/UI_Selection.h"
#include "ui/widgets/UI_TextBox.h"

#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vorn::ui::editor {

class Editor : private UI_Evt_ValueChanged {
public:
    // Seconds per step are 1 / entry.
    static constexpr std::array<int32_t, 7> kStepTable = {60, 30, 15, 10, 5, 2, 1};

    // Takes over the player's UI (editor mode, no automatic start) and builds
    // the panels. The player has shown its loading frame.
    Editor(Player& player, EditorServices services = {});
    ~Editor() override;
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    // Opens the production: projectFile (in the working directory) when it
    // exists, loaded as the player loads it, else an empty production that
    // saves under that name; then its layout file.
    void open(const std::string& projectFile);
    // One frame: the player's, with the clock the transport drives.
    void renderFrame();

    // --- Commands (each also a button or a shortcut)
    bool save();
    bool reload();
    bool revert();
    bool clear();
    bool importProject(const std::string& path);
    void importWithDialog();
    void presentationView();
    void editorView();
    void applyLayout(int32_t layout);
    void stepForward();
    void stepBack();
    void rewind();
    void playPause();
    void toggleRocket();
    void changeStep(int32_t delta);
    // A node of the type, named "<type> <n>" with the type's next number, its box in view.
    bool createNode(const std::string& typeName);
    bool deleteSelectedNode();
    // True when the editor may end: nothing changed since the last save, or the user says so.
    bool requestQuit();
    bool quitRequested() const { return quit_; }
    bool changedSinceSave() const;

    // --- Pieces the commands share
    // Reads a layout file into the layout, the aliases and the box flags; a
    // missing file changes nothing. Without replace, the boxes read are put
    // to the right of every box there is.
    bool readGui(const std::string& path, bool replace, const std::string& prefix);
    void rebuildNodeEditor();
    void rebuildTrackList();
    void openParameters(const std::string& nodeName);
    // The message line (also written to the diagnostic channel by callers that report failures).
    void say(const std::string& message);
    // Handles an editor shortcut; false for keys that are not one.
    bool handleShortcut(const UI_Event& event);

    std::string projectFile() const { return projectStem + ".vorn"; }
    std::string guiFile() const { return projectStem + ".vorngui"; }

    std::unordered_map<std::string, std::pair<float, float>> layoutMap;
    std::unordered_map<std::string, uint8_t> boxFlags;
    std::vector<std::string> revertHistory;  // two per save: the layout snapshot, then the project's
    int32_t stepIndex = 3;
    int32_t panelLayout = 2;
    bool presenting = false;
    bool rocketRunning = false;
    std::string projectStem = "demo";
    std::string status;
    std::vector<std::string> trackNames;  // the track list's tracks, by row

    // The panels, for layout and for whoever drives the editor.
    NodeGraph& graph() { return *graph_; }
    ParameterPanel& parameters() { return *parameters_; }
    UI_ImagePanel& viewer() { return *viewer_; }
    UI_List& nodeList() { return *nodeList_; }
    UI_List& trackList() { return *trackList_; }
    UI_Button& button(const std::string& label);
    UI_TextBox& settingsBox(int index) { return *settingsBoxes_[std::size_t(index)]; }

private:
    void valueChanged(UI_Object* widget) override;
    void onWidgetEvent(UI_Object* sender, int argument) override;

    void buildPanels();
    // Box positions and flags into layoutMap and boxFlags, before the boxes are made again.
    void captureBoxes();
    GuiLayout guiLayout() const;
    void placePanels();
    void seek();
    void stopPlayback();
    void refreshAfterLoad();
    void rebindSync();
    void rememberSavedState();
    std::vector<uint8_t> productionState() const;
    bool writeSnapshotPair(const std::string& base);
    UI_Button* addButton(const std::string& label, const std::string& shortcut, int32_t x, int32_t y, int32_t width);

    Player& player_;
    engine::Engine& engine_;
    UI_Engine& ui_;
    UI_Master& master_;
    EditorServices services_;

    class Shortcuts;
    std::unique_ptr<Shortcuts> shortcuts_;
    std::unique_ptr<UI_Panel> commandBar_;
    std::vector<UI_Button*> buttons_;
    UI_Button *saveButton_ = nullptr, *reloadButton_ = nullptr, *importButton_ = nullptr, *revertButton_ = nullptr,
              *clearButton_ = nullptr, *presentButton_ = nullptr, *editButton_ = nullptr, *rewindButton_ = nullptr,
              *stepBackButton_ = nullptr, *playButton_ = nullptr, *stepForwardButton_ = nullptr,
              *rocketButton_ = nullptr;
    std::array<UI_Button*, 3> layoutButtons_{};
    UI_Label *timeLabel_ = nullptr, *frameLabel_ = nullptr, *statusLabel_ = nullptr;
    UI_Selection *viewerChoice_ = nullptr, *stepChoice_ = nullptr, *backgroundChoice_ = nullptr;
    std::unique_ptr<UI_List> nodeList_;
    std::unique_ptr<UI_List> trackList_;
    std::unique_ptr<NodeGraph> graph_;
    std::unique_ptr<UI_ImagePanel> viewer_;
    std::unique_ptr<ParameterPanel> parameters_;
    std::unique_ptr<UI_Panel> settings_;
    std::array<UI_TextBox*, 3> settingsBoxes_{};

    std::unique_ptr<platform::Process> tracker_;
    std::vector<uint8_t> savedState_;
    int32_t backgroundMode_ = 0;
    bool quit_ = false;
};

}  // namespace vorn::ui::editor
