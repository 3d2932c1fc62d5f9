// ShellIo over the real window, message queue, sound device and message box.
#pragma once

#include "app/Shell.h"
#include "platform/GlWindow.h"

namespace vorn::app {

class PlatformShellIo : public ShellIo {
public:
    explicit PlatformShellIo(platform::GlWindow& window) : window_(window) {}

    bool escapePressed() override;
    bool takeMessage(platform::WindowMessage& message) override;
    void postQuitMessage(int exitCode) override;
    void swapBuffers() override;
    std::unique_ptr<platform::AudioOutput> createAudio() override;
    bool askOkCancel(std::string_view caption, std::string_view text) override;

private:
    platform::GlWindow& window_;
};

}  // namespace vorn::app
