#include "platform/Process.h"

#include "platform/Debug.h"
#include "platform/Paths.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

extern char** environ;

namespace vorn::platform {

namespace {

std::vector<char*> argumentVector(std::string& program, std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.push_back(program.data());
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    return argv;
}

}  // namespace

std::unique_ptr<Process> Process::start(std::string_view path, const std::vector<std::string>& arguments) {
    std::string program = resolvePath(path);
    std::vector<std::string> args = arguments;
    std::vector<char*> argv = argumentVector(program, args);
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

std::optional<ProgramOutput> runProgram(const std::string& program, const std::vector<std::string>& arguments) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);

    std::string name = program;
    std::vector<std::string> args = arguments;
    std::vector<char*> argv = argumentVector(name, args);
    pid_t pid = -1;
    int error = ::posix_spawnp(&pid, name.c_str(), &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (error != 0) {
        ::close(pipeEnds[0]);
        return std::nullopt;
    }

    ProgramOutput output;
    char buffer[4096];
    for (;;) {
        ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (got > 0) output.standardOutput.append(buffer, std::size_t(got));
        else if (got == 0 || errno != EINTR) break;
    }
    ::close(pipeEnds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    output.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

}  // namespace vorn::platform
