// A fresh temporary folder as the working directory (where the player finds its
// production and the sync client its track files) while the object lives.
#pragma once

#include "platform/Paths.h"
#include "tests/support/TempDir.h"

namespace vorn::test {

class WorkingDirectory {
public:
    WorkingDirectory() : previous_(platform::currentDirectory()) { platform::changeDirectory(folder_.path()); }
    ~WorkingDirectory() { platform::changeDirectory(previous_); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

    const TempDir& folder() const { return folder_; }
    std::string file(std::string_view name) const { return folder_.file(name); }

private:
    TempDir folder_;
    std::string previous_;
};

}  // namespace vorn::test
