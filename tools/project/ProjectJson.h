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

#include <nlohmann/json.hpp>

#include "engine/ProjectDocument.h"

namespace vorn::tools {

// Objects keep their keys in the order written; numbers are 32-bit floats.
using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool, std::int64_t,
                                  std::uint64_t, float>;

// What is wrong with a JSON project and where ("sections[2].entries[0].value: ...").
class ProjectJsonError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

Json documentToJson(const engine::ProjectDocument& document);

// Throws ProjectJsonError when the JSON does not describe a document whose
// bytes every reader of the format can read.
engine::ProjectDocument documentFromJson(const Json& json);

}  // namespace vorn::tools
