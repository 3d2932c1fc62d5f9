#include "tools/scene/SceneJson.h"

#include <algorithm>
#include <cmath>

#include "platform/FileLimits.h"

namespace vorn::tools {

namespace {

using nodes::SceneKey;
using nodes::SceneLayerRecord;

// A key's fields in file order, with their names in JSON.
constexpr const char* kKeyNames[] = {"unused", "time", "left", "y0", "right", "y1", "opacity"};
constexpr float SceneKey::*kKeyFields[] = {&SceneKey::unused, &SceneKey::time,  &SceneKey::left,   &SceneKey::y0,
                                           &SceneKey::right,  &SceneKey::y1,    &SceneKey::opacity};

// ---- to JSON

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

// Padding bytes after a name, as pairs of hex digits.
std::string hexText(const JsonReader& reader) {
    const std::string digits = reader.word();
    auto digit = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    if (digits.size() % 2 != 0) reader.fail("expected pairs of hex digits");
    std::string bytes;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        int high = digit(digits[i]), low = digit(digits[i + 1]);
        if (high < 0 || low < 0) reader.fail("expected pairs of hex digits");
        bytes.push_back(char(high << 4 | low));
    }
    return bytes;
}

}  // namespace

std::string sceneToJsonText(const std::vector<SceneLayerRecord>& layers) {
    std::string text = "{\n  \"format\": \"vorn scene\",\n  \"layers\": [";
    for (std::size_t l = 0; l < layers.size(); ++l) {
        const SceneLayerRecord& layer = layers[l];
        text += l ? ",\n    {\n" : "\n    {\n";
        text += "      \"name\": " + dumped(textToJson(layer.name)) + ",\n";
        if (!layer.namePadding.empty()) text += "      \"namePadding\": \"" + hexBytes(layer.namePadding) + "\",\n";
        text += "      \"mode\": " + std::to_string(layer.mode) + ",\n";
        text += "      \"keys\": [";
        for (std::size_t k = 0; k < layer.keys.size(); ++k) {
            SceneJson object = SceneJson::object();
            for (int field = 0; field < 7; ++field) object[kKeyNames[field]] = floatToJson(layer.keys[k].*kKeyFields[field]);
            text += (k ? ",\n        " : "\n        ") + dumped(object);
        }
        text += layer.keys.empty() ? "]\n    }" : "\n      ]\n    }";
    }
    text += layers.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return text;
}

std::vector<SceneLayerRecord> sceneFromJson(const SceneJson& json) {
    JsonReader root(json, "scene");
    if (root.has("format") && root["format"].word() != "vorn scene") root["format"].fail("expected \"vorn scene\"");
    std::vector<SceneLayerRecord> layers;
    for (const JsonReader& item : root["layers"].items()) {
        SceneLayerRecord layer;
        layer.name = item["name"].text();
        if (item.has("namePadding")) layer.namePadding = hexText(item["namePadding"]);
        layer.mode = item["mode"].integer<int32_t>();
        for (const JsonReader& entry : item["keys"].items()) {
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
