// A program found on PATH that reads what we write to its standard input (the
// video encoder the capture tool feeds with frames).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace vorn::platform {

class ProgramPipe {
public:
    // Starts the program with its standard input connected to this pipe. Null
    // when it cannot be started (reported as one line).
    static std::unique_ptr<ProgramPipe> start(const std::string& program, const std::vector<std::string>& arguments);

    // Closes the pipe and waits for the program.
    ~ProgramPipe();
    ProgramPipe(const ProgramPipe&) = delete;
    ProgramPipe& operator=(const ProgramPipe&) = delete;

    // All bytes or false (the program has gone or stopped reading).
    bool write(const void* data, std::size_t size);
    // Ends the input and waits; the program's exit status, -1 when it did not
    // exit normally.
    int finish();

private:
    ProgramPipe(int pid, int fd) : pid_(pid), fd_(fd) {}
    int pid_ = -1;
    int fd_ = -1;
    int status_ = -1;
};

}  // namespace vorn::platform
