// The JSON side of the file tools (vorn-project, vorn-scene): what a stored
// field becomes in JSON and back. Floats keep their exact value (non-finite
// ones as bit patterns such as "0x7FC00000"); 8-bit texts map byte b to U+00b.
// Reading never trusts the JSON: every failure throws a JsonError that names
// the place, e.g. "scene.layers[2].keys[0].time: expected a number".
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace vorn::tools {

// Objects keep their key order; numbers are stored as float so that they print
// in their shortest exact form.
using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool, std::int64_t,
                                  std::uint64_t, float>;

class JsonError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string bitPattern(uint32_t bits);  // "0x7FC00000"
Json floatToJson(float value);          // a number, or the bit pattern when not finite
Json textToJson(const std::string& bytes);

class JsonReader {
public:
    JsonReader(const Json& json, std::string where) : json_(json), where_(std::move(where)) {}

    [[noreturn]] void fail(const std::string& what) const { throw JsonError(where_ + ": " + what); }

    JsonReader operator[](const char* key) const;
    bool has(const char* key) const { return json_.is_object() && json_.contains(key); }
    std::vector<JsonReader> items() const;

    std::string word() const;  // a string as it stands
    std::string text() const;  // a string of U+0000..U+00FF back to its 8-bit bytes
    float number() const;      // a number or a bit pattern
    template <class Integer>
    Integer integer() const;   // in range of Integer; a bit pattern for 32-bit types

    const Json& json() const { return json_; }

private:
    std::optional<uint32_t> bitPatternValue() const;

    const Json& json_;
    std::string where_;
};

template <class Integer>
Integer JsonReader::integer() const {
    if (json_.is_number_unsigned()) {
        uint64_t value = json_.get<uint64_t>();
        if (value <= uint64_t(std::numeric_limits<Integer>::max())) return Integer(value);
    } else if (json_.is_number_integer()) {
        int64_t value = json_.get<int64_t>();
        if (value >= int64_t(std::numeric_limits<Integer>::min()) && value <= int64_t(std::numeric_limits<Integer>::max()))
            return Integer(value);
    } else if (auto bits = bitPatternValue(); bits && sizeof(Integer) == 4) {
        return Integer(*bits);
    }
    fail(std::string("expected an integer from ") + std::to_string(std::numeric_limits<Integer>::min()) + " to " +
         std::to_string(std::numeric_limits<Integer>::max()));
}

}  // namespace vorn::tools
