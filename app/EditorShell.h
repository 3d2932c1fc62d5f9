// The editor's main loop, over the same ShellIo, engine, UI and frame as the
// player's. It differs where an editor must: nothing starts by itself, the
// transport drives the clock, Escape belongs to the widgets (it cancels
// typing), there is no end of show, and closing the window or Ctrl+Q asks
// "Quit without saving?" when the production changed since it was saved.
#pragma once

#include "app/Shell.h"
#include "ui/editor/Editor.h"

#include <functional>
#include <string>

namespace vorn::app {

// Called after every presented frame (tests drive the editor from here).
using EditorFrameHook = std::function<void(ui::editor::Editor&)>;

// The editor from its engine to its end: build the player's engine and UI,
// show the loading frame, open projectFile (in the working directory), then
// the frame loop. Needs a current GL context. Returns the exit code, 0.
int runEditor(ShellIo& io, const std::string& projectFile, const EditorFrameHook& afterFrame = {});

// The frame loop alone.
void runEditorLoop(ShellIo& io, ui::editor::Editor& editor, const EditorFrameHook& afterFrame = {});

}  // namespace vorn::app
