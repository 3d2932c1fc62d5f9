// Turns a ProjectDocument into the bytes of a project file: the magic, then
// every section in document order, every entry as it stands. Texts are written
// so that any reader of the format can read them back: a text is cut at an
// embedded 0 byte and after 4095 bytes, each cut reported on the diagnostic
// channel.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/ProjectDocument.h"

namespace vorn::engine {

std::vector<uint8_t> writeProjectDocument(const ProjectDocument& document);

}  // namespace vorn::engine
