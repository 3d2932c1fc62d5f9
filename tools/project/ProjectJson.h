// A project document as JSON a person can read and edit: the sections in file
// order, every entry with its stored fields. Converting a document to JSON and
// back gives the same document, so the same bytes:
// - texts are 8-bit: byte b becomes the character U+00b (bytes 0x80-0xFF are
//   U+0080-U+00FF), and only characters U+0001-U+00FF are accepted back;
// - floats are JSON numbers in the shortest form that reads back as the same
//   32-bit float (negative zero as -0.0); infinities and not-a-numbers, which
//   JSON cannot hold, are strings with their bit pattern ("0x7FC00000"), and a
//   bit-pattern string is accepted for any float.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/ProjectDocument.h"
#include "tools/json/JsonFields.h"

namespace vorn::tools {

// Objects keep their keys in the order written; numbers are 32-bit floats.
// What is wrong with a JSON project and where ("sections[2].entries[0].value: ...").
using ProjectJsonError = JsonError;

Json documentToJson(const engine::ProjectDocument& document);

// Throws ProjectJsonError when the JSON does not describe a document whose
// bytes every reader of the format can read.
engine::ProjectDocument documentFromJson(const Json& json);

}  // namespace vorn::tools
