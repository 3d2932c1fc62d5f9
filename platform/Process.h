// Starting and ending other programs: the tracker editor the UI launches, and
// helper programs whose output is read back (the file dialog).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::platform {

class Process {
public:
    // Starts the program at path (resolved as every path is) with the given
    // arguments, in the current working directory. Null when it cannot be
    // started; the reason has been reported as one line.
    static std::unique_ptr<Process> start(std::string_view path, const std::vector<std::string>& arguments = {});

    // Leaves the program running; only collects its exit status if it has ended.
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool running();
    // Asks the program to end, forces it after half a second, and waits for it.
    // True once it has ended (also when it had ended before).
    bool terminate();
    int id() const { return pid_; }

private:
    explicit Process(int pid) : pid_(pid) {}
    bool reap(bool wait);
    int pid_ = -1;
    bool ended_ = false;
};

struct ProgramOutput {
    int exitStatus = -1;  // -1 when it did not end normally
    std::string standardOutput;
};

// The full path of an executable named program in a PATH folder (or program
// itself when it names a path and is executable), or nothing.
std::optional<std::string> findProgram(const std::string& program);

// Runs a program found on PATH to its end and collects what it writes to
// standard output. Nothing when it cannot be started (not installed).
std::optional<ProgramOutput> runProgram(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace vorn::platform
