// Reads the bytes of a project file into a ProjectDocument. Counts in the file
// are not trusted: entries are read one by one while bytes remain, so a huge
// count in a short file ends the read instead of allocating.
//
// A damaged file keeps everything read before the damage (a demo with a broken
// tail still plays): complete entries, and the complete parts of the group that
// was being read. A text longer than 4095 bytes keeps its first 4095 bytes and
// is reported on the diagnostic channel; the read goes on.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "engine/ProjectDocument.h"

namespace vorn::engine {

enum class ProjectReadStatus {
    Complete,
    NotAProject,  // no magic: nothing was read
    Truncated,    // the file ends inside an entry or a marker
    Damaged,      // a parameter type code that has no encoding; reading stopped there
};

struct ProjectReadResult {
    ProjectDocument document;
    ProjectReadStatus status = ProjectReadStatus::Complete;
    std::string problem;  // one line saying what and where, unless Complete
};

// True when the bytes start with the project magic.
bool hasProjectMagic(std::span<const uint8_t> bytes);

ProjectReadResult readProjectDocument(std::span<const uint8_t> bytes);

}  // namespace vorn::engine
