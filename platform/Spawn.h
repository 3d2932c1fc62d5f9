// Starting a program with a pipe to one of its standard streams and waiting
// for it: what running the file dialog and feeding the video encoder share.
// Platform-internal.
#pragma once

#include <string>
#include <vector>

namespace vorn::platform::detail {

// The argv of a spawn: the program, the arguments, a null. The pointers point
// into program and arguments, which must outlive the spawn.
std::vector<char*> argumentVector(std::string& program, std::vector<std::string>& arguments);

struct PipedChild {
    int pid = -1;
    int fd = -1;  // this process's end of the pipe, closed on exec
};

// Starts the program at path (no PATH search) with one end of a new pipe as
// its standard input or output (childStream: STDIN_FILENO or STDOUT_FILENO);
// the other end comes back in child. 0, or the error number when it cannot be
// started.
int spawnWithPipe(const std::string& path, const std::vector<std::string>& arguments, int childStream,
                  PipedChild& child);

// Waits for the program to end: its exit status, -1 when it did not exit normally.
int waitForExit(int pid);

}  // namespace vorn::platform::detail
