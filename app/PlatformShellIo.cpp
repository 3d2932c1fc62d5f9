#include "app/PlatformShellIo.h"

#include "platform/Dialogs.h"

namespace vorn::app {

bool PlatformShellIo::escapePressed() { return platform::asyncKeyState(platform::VK_ESCAPE) != 0; }

bool PlatformShellIo::takeMessage(platform::WindowMessage& message) { return platform::peekMessage(message, true); }

void PlatformShellIo::postQuitMessage(int exitCode) { platform::postQuitMessage(exitCode); }

void PlatformShellIo::swapBuffers() { window_.swapBuffers(); }

std::unique_ptr<platform::AudioOutput> PlatformShellIo::createAudio() { return platform::createDeviceAudio(); }

bool PlatformShellIo::askOkCancel(std::string_view caption, std::string_view text) {
    return platform::askOkCancel(caption, text);
}

}  // namespace vorn::app
