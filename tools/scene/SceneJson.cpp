#include "tools/scene/SceneJson.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>

#include "platform/FileLimits.h"
#include "platform/TextEncoding.h"

namespace vorn::tools {

namespace {

using nodes::SceneKey;
using nodes::SceneLayerRecord;

// A key's fields in file order, with their names in JSON.
constexpr const char* kKeyNames[] = {"unused", "time", "left", "y0", "right", "y1", "opacity"};
constexpr float SceneKey::*kKeyFields[] = {&SceneKey::unused, &SceneKey::time,  &SceneKey::left,   &SceneKey::y0,
                                           &SceneKey::right,  &SceneKey::y1,    &SceneKey::opacity};

// ---- to JSON

SceneJson number(float value) {
    if (std::isfinite(value)) return value;
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    char hex[11];
    std::snprintf(hex, sizeof hex, "0x%08X", bits);
    return hex;
}

std::string hexBytes(const std::string& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex.push_back(kDigits[c >> 4]);
        hex.push_back(kDigits[c & 15]);
    }
    return hex;
}

std::string dumped(const SceneJson& json) { return json.dump(-1, ' ', false, nlohmann::detail::error_handler_t::strict); }

// ---- from JSON: every read names where it looked, so errors say where.

class Reader {
public:
    Reader(const SceneJson& json, std::string where) : json_(json), where_(std::move(where)) {}

    [[noreturn]] void fail(const std::string& what) const { throw SceneJsonError(where_ + ": " + what); }

    Reader operator[](const char* key) const {
        if (!json_.is_object()) fail("expected an object");
        auto found = json_.find(key);
        if (found == json_.end()) fail(std::string("missing \"") + key + "\"");
        return Reader(*found, where_ + "." + key);
    }
    bool has(const char* key) const { return json_.is_object() && json_.contains(key); }

    std::vector<Reader> items() const {
        if (!json_.is_array()) fail("expected an array");
        std::vector<Reader> list;
        for (std::size_t i = 0; i < json_.size(); ++i) list.emplace_back(json_[i], where_ + "[" + std::to_string(i) + "]");
        return list;
    }

    std::string string() const {
        if (!json_.is_string()) fail("expected a string");
        return json_.get<std::string>();
    }

    // UTF-8 back to 8-bit text.
    std::string text() const {
        const std::string utf8 = string();
        std::string bytes;
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(utf8[i]);
            if (c < 0x80) {
                bytes.push_back(char(c));
            } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size() &&
                       (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
                bytes.push_back(char(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F)));
            } else {
                fail("characters above U+00FF cannot be stored: names are 8-bit");
            }
        }
        return bytes;
    }

    std::string hex() const {
        const std::string digits = string();
        if (digits.size() % 2 != 0) fail("expected pairs of hex digits");
        std::string bytes;
        for (std::size_t i = 0; i < digits.size(); i += 2) {
            int high = digit(digits[i]), low = digit(digits[i + 1]);
            if (high < 0 || low < 0) fail("expected pairs of hex digits");
            bytes.push_back(char(high << 4 | low));
        }
        return bytes;
    }

    int32_t int32() const {
        if (json_.is_number_integer()) {
            int64_t value = json_.is_number_unsigned() ? int64_t(std::min<uint64_t>(json_.get<uint64_t>(), INT64_MAX))
                                                       : json_.get<int64_t>();
            if (value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max())
                return int32_t(value);
        }
        fail("expected an integer from -2147483648 to 2147483647");
    }

    float number() const {
        if (json_.is_number()) return json_.get<float>();
        if (json_.is_string()) {
            const std::string& s = json_.get_ref<const std::string&>();
            if (s.size() == 10 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
                uint32_t bits = 0;
                bool valid = true;
                for (std::size_t i = 2; i < 10; ++i) {
                    int d = digit(s[i]);
                    valid = valid && d >= 0;
                    bits = bits << 4 | uint32_t(d & 15);
                }
                if (valid) {
                    float value;
                    std::memcpy(&value, &bits, 4);
                    return value;
                }
            }
        }
        fail("expected a number or a bit pattern such as \"0x7FC00000\"");
    }

private:
    static int digit(char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    }

    const SceneJson& json_;
    std::string where_;
};

}  // namespace

std::string sceneToJsonText(const std::vector<SceneLayerRecord>& layers) {
    std::string text = "{\n  \"format\": \"vorn scene\",\n  \"layers\": [";
    for (std::size_t l = 0; l < layers.size(); ++l) {
        const SceneLayerRecord& layer = layers[l];
        text += l ? ",\n    {\n" : "\n    {\n";
        text += "      \"name\": " + dumped(platform::latin1ToUtf8(layer.name)) + ",\n";
        if (!layer.namePadding.empty()) text += "      \"namePadding\": \"" + hexBytes(layer.namePadding) + "\",\n";
        text += "      \"mode\": " + std::to_string(layer.mode) + ",\n";
        text += "      \"keys\": [";
        for (std::size_t k = 0; k < layer.keys.size(); ++k) {
            SceneJson object = SceneJson::object();
            for (int field = 0; field < 7; ++field) object[kKeyNames[field]] = number(layer.keys[k].*kKeyFields[field]);
            text += (k ? ",\n        " : "\n        ") + dumped(object);
        }
        text += layer.keys.empty() ? "]\n    }" : "\n      ]\n    }";
    }
    text += layers.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return text;
}

std::vector<SceneLayerRecord> sceneFromJson(const SceneJson& json) {
    Reader root(json, "scene");
    if (root.has("format") && root["format"].string() != "vorn scene") root["format"].fail("expected \"vorn scene\"");
    std::vector<SceneLayerRecord> layers;
    for (const Reader& item : root["layers"].items()) {
        SceneLayerRecord layer;
        layer.name = item["name"].text();
        if (item.has("namePadding")) layer.namePadding = item["namePadding"].hex();
        layer.mode = item["mode"].int32();
        for (const Reader& entry : item["keys"].items()) {
            SceneKey key;
            // The unused value may be left out of a key written by hand.
            if (entry.has("unused")) key.unused = entry["unused"].number();
            for (int field = 1; field < 7; ++field) key.*kKeyFields[field] = entry[kKeyNames[field]].number();
            layer.keys.push_back(key);
        }
        if (std::string problem = nodes::sceneRecordProblem(layer); !problem.empty()) item.fail(problem);
        layers.push_back(std::move(layer));
    }
    return layers;
}

namespace {

// Frames from 0 s to the last waypoint, in double so that any time can be weighed.
double framesUpTo(float lastTime) { return std::floor(double(std::max(lastTime, 0.0f)) * 60.0 + 0.5) + 1.0; }

}  // namespace

std::vector<SceneLayerRecord> keysPerFrame(std::vector<SceneLayerRecord> layers) {
    // The file may not outgrow what the renderer reads.
    double bytes = 0.0;
    for (std::size_t l = 0; l < layers.size(); ++l) {
        const std::vector<SceneKey>& waypoints = layers[l].keys;
        for (std::size_t k = 1; k < waypoints.size(); ++k)
            if (!(waypoints[k - 1].time <= waypoints[k].time))
                throw SceneJsonError("scene.layers[" + std::to_string(l) + "].keys[" + std::to_string(k) +
                                     "].time: waypoints must not go back in time");
        bytes += double(nodes::kSceneNameBytes + 8);
        if (!waypoints.empty()) bytes += framesUpTo(waypoints.back().time) * double(nodes::kSceneKeyBytes);
    }
    if (!(bytes <= double(platform::kMaxSceneFileBytes)))
        throw SceneJsonError("scene: one key per frame would make the file larger than 64 MiB");

    for (SceneLayerRecord& layer : layers) {
        if (layer.keys.empty()) continue;
        const std::vector<SceneKey> waypoints = std::move(layer.keys);
        const std::size_t frames = std::size_t(framesUpTo(waypoints.back().time));
        layer.keys.clear();
        std::size_t next = 0;  // the first waypoint after the frame's time
        for (std::size_t frame = 0; frame < frames; ++frame) {
            const float time = float(frame) / 60.0f;
            while (next < waypoints.size() && waypoints[next].time <= time) ++next;
            SceneKey key;
            if (next == 0) key = waypoints.front();
            else if (next == waypoints.size()) key = waypoints.back();
            else {
                const SceneKey& a = waypoints[next - 1];
                const SceneKey& b = waypoints[next];
                const float f = (time - a.time) / (b.time - a.time);
                // Rectangle and opacity; time and frame number are set below.
                for (int field = 2; field < 7; ++field)
                    key.*kKeyFields[field] = a.*kKeyFields[field] + (b.*kKeyFields[field] - a.*kKeyFields[field]) * f;
            }
            key.unused = float(frame);
            key.time = time;
            layer.keys.push_back(key);
        }
    }
    return layers;
}

}  // namespace vorn::tools
