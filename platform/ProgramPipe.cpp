#include "platform/ProgramPipe.h"

#include "platform/Debug.h"
#include "platform/Process.h"
#include "platform/Spawn.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vorn::platform {

std::unique_ptr<ProgramPipe> ProgramPipe::start(const std::string& program, const std::vector<std::string>& arguments) {
    std::optional<std::string> found = findProgram(program);
    if (!found) {
        debugLine("cannot start " + program + ": not installed");
        return nullptr;
    }
    // A reader that goes away must show up as a failed write, not end this process.
    ::signal(SIGPIPE, SIG_IGN);

    detail::PipedChild child;
    if (int error = detail::spawnWithPipe(*found, arguments, STDIN_FILENO, child); error != 0) {
        debugLine("cannot start " + program + ": " + std::strerror(error));
        return nullptr;
    }
    return std::unique_ptr<ProgramPipe>(new ProgramPipe(child.pid, child.fd));
}

ProgramPipe::~ProgramPipe() { finish(); }

bool ProgramPipe::write(const void* data, std::size_t size) {
    if (fd_ < 0) return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t written = ::write(fd_, bytes, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += written;
        size -= std::size_t(written);
    }
    return true;
}

int ProgramPipe::finish() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (pid_ > 0) {
        status_ = detail::waitForExit(pid_);
        pid_ = -1;
    }
    return status_;
}

}  // namespace vorn::platform
