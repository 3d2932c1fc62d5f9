#include "platform/Process.h"

#include "platform/Debug.h"
#include "platform/Paths.h"
#include "platform/Spawn.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

extern char** environ;

namespace vorn::platform {

std::unique_ptr<Process> Process::start(std::string_view path, const std::vector<std::string>& arguments) {
    std::string program = resolvePath(path);
    std::vector<std::string> args = arguments;
    std::vector<char*> argv = detail::argumentVector(program, args);
    pid_t pid = -1;
    int error = ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
    if (error != 0) {
        debugLine("cannot start " + std::string(path) + ": " + std::strerror(error));
        return nullptr;
    }
    return std::unique_ptr<Process>(new Process(pid));
}

Process::~Process() { reap(false); }

bool Process::reap(bool wait) {
    if (ended_) return true;
    int status = 0;
    pid_t result;
    do {
        result = ::waitpid(pid_, &status, wait ? 0 : WNOHANG);
    } while (result < 0 && errno == EINTR);
    if (result == pid_ || (result < 0 && errno == ECHILD)) ended_ = true;
    return ended_;
}

bool Process::running() { return !reap(false); }

bool Process::terminate() {
    if (reap(false)) return true;
    ::kill(pid_, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    while (std::chrono::steady_clock::now() < deadline) {
        if (reap(false)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid_, SIGKILL);
    return reap(true);
}

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

std::optional<ProgramOutput> runProgram(const std::string& program, const std::vector<std::string>& arguments) {
    std::optional<std::string> found = findProgram(program);
    detail::PipedChild child;
    if (!found || detail::spawnWithPipe(*found, arguments, STDOUT_FILENO, child) != 0) return std::nullopt;

    ProgramOutput output;
    char buffer[4096];
    for (;;) {
        ssize_t got = ::read(child.fd, buffer, sizeof buffer);
        if (got > 0) output.standardOutput.append(buffer, std::size_t(got));
        else if (got == 0 || errno != EINTR) break;
    }
    ::close(child.fd);
    output.exitStatus = detail::waitForExit(child.pid);
    return output;
}

}  // namespace vorn::platform
