// The player's main loop over whatever stands for the window: Escape is tested
// first, then one waiting message is handled, else one frame is rendered and
// presented, until Escape, the quit message or the end of the show. The window
// system is reached only through ShellIo, so the loop runs the same in tests.
#pragma once

#include "platform/AudioOutput.h"
#include "platform/WindowMessages.h"
#include "ui/Player.h"

#include <memory>
#include <string_view>

namespace vorn::app {

class ShellIo {
public:
    virtual ~ShellIo() = default;
    // The asynchronous key state of Escape is non-zero.
    virtual bool escapePressed() = 0;
    // Removes the next waiting message; false when none waits.
    virtual bool takeMessage(platform::WindowMessage& message) = 0;
    virtual void postQuitMessage(int exitCode) = 0;
    virtual void swapBuffers() = 0;
    // The music device the engine plays through.
    virtual std::unique_ptr<platform::AudioOutput> createAudio() = 0;
    // A yes/no question to the user; true for OK.
    virtual bool askOkCancel(std::string_view caption, std::string_view text) = 0;
};

// What the window procedure does with a message: a close request posts the
// quit message; every message reaches the UI once it takes messages.
void windowProcedure(ShellIo& io, const platform::WindowMessage& message);

// The player from its engine to its end: build the engine and the UI, show the
// loading frame, load "demo.vorn", then the frame loop. Needs a current GL
// context. Returns the exit code, 0.
int runShow(ShellIo& io);

// The frame loop alone, over a player whose project is loaded.
void runFrameLoop(ShellIo& io, ui::Player& player);

}  // namespace vorn::app
