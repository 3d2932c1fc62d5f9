#include "platform/Spawn.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace vorn::platform::detail {

std::vector<char*> argumentVector(std::string& program, std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.push_back(program.data());
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    return argv;
}

int spawnWithPipe(const std::string& path, const std::vector<std::string>& arguments, int childStream,
                  PipedChild& child) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return errno;
    // pipeEnds[0] is read from, pipeEnds[1] written to.
    int childEnd = childStream == STDIN_FILENO ? pipeEnds[0] : pipeEnds[1];
    int parentEnd = childStream == STDIN_FILENO ? pipeEnds[1] : pipeEnds[0];
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, childEnd, childStream);

    std::string program = path;
    std::vector<std::string> args = arguments;
    std::vector<char*> argv = argumentVector(program, args);
    pid_t pid = -1;
    int error = ::posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(childEnd);
    if (error != 0) {
        ::close(parentEnd);
        return error;
    }
    child = {int(pid), parentEnd};
    return 0;
}

int waitForExit(int pid) {
    int status = 0;
    pid_t result;
    do {
        result = ::waitpid(pid, &status, 0);
    } while (result < 0 && errno == EINTR);
    return result == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace vorn::platform::detail
