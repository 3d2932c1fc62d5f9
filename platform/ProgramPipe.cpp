#include "platform/ProgramPipe.h"

#include "platform/Debug.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace vorn::platform {

std::optional<std::string> findProgram(const std::string& program) {
    if (program.empty()) return std::nullopt;
    if (program.find('/') != std::string::npos)
        return ::access(program.c_str(), X_OK) == 0 ? std::optional<std::string>(program) : std::nullopt;
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t begin = 0;
    while (begin <= folders.size()) {
        std::size_t end = folders.find(':', begin);
        if (end == std::string::npos) end = folders.size();
        // An empty entry means the current folder.
        std::string folder = end > begin ? folders.substr(begin, end - begin) : std::string(".");
        std::string candidate = folder + "/" + program;
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        begin = end + 1;
    }
    return std::nullopt;
}

std::unique_ptr<ProgramPipe> ProgramPipe::start(const std::string& program, const std::vector<std::string>& arguments) {
    std::optional<std::string> found = findProgram(program);
    if (!found) {
        debugLine("cannot start " + program + ": not installed");
        return nullptr;
    }
    // A reader that goes away must show up as a failed write, not end this process.
    ::signal(SIGPIPE, SIG_IGN);

    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        debugLine("cannot start " + program + ": " + std::strerror(errno));
        return nullptr;
    }
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);

    std::vector<std::string> args = arguments;
    std::vector<char*> argv;
    std::string name = *found;
    argv.push_back(name.data());
    for (auto& argument : args) argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    int error = ::posix_spawn(&pid, found->c_str(), &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[0]);
    if (error != 0) {
        ::close(pipeEnds[1]);
        debugLine("cannot start " + program + ": " + std::strerror(error));
        return nullptr;
    }
    return std::unique_ptr<ProgramPipe>(new ProgramPipe(pid, pipeEnds[1]));
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
        int status = 0;
        pid_t result;
        do {
            result = ::waitpid(pid_, &status, 0);
        } while (result < 0 && errno == EINTR);
        status_ = (result == pid_ && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
        pid_ = -1;
    }
    return status_;
}

}  // namespace vorn::platform
