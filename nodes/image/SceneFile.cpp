#include "nodes/image/SceneFile.h"

#include <algorithm>
#include <cstring>

namespace vorn::nodes {

namespace {

int32_t int32At(const uint8_t* p) {
    uint32_t value = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    return int32_t(value);
}

float floatAt(const uint8_t* p) {
    uint32_t bits = uint32_t(int32At(p));
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

void putInt32(std::vector<uint8_t>& out, int32_t value) {
    uint32_t bits = uint32_t(value);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(bits >> shift));
}

void putFloat(std::vector<uint8_t>& out, float value) {
    int32_t bits;
    std::memcpy(&bits, &value, 4);
    putInt32(out, bits);
}

SceneKey keyAt(const uint8_t* p) {
    return {floatAt(p), floatAt(p + 4), floatAt(p + 8), floatAt(p + 12), floatAt(p + 16), floatAt(p + 20),
            floatAt(p + 24)};
}

}  // namespace

SceneFileRead readSceneFile(std::span<const uint8_t> bytes) {
    SceneFileRead read;
    std::size_t at = 0;
    auto stop = [&](std::string problem) {
        read.damaged = true;
        read.damageOffset = at;
        read.problem = std::move(problem);
    };
    const std::size_t headerBytes = kSceneNameBytes + 8;
    while (at < bytes.size()) {
        const std::size_t layerNumber = read.layers.size() + 1;
        if (bytes.size() - at < headerBytes) {
            stop("layer " + std::to_string(layerNumber) + " is cut short in its name, mode or key count");
            break;
        }
        const uint8_t* record = bytes.data() + at;
        SceneLayerRecord layer;
        // A name that fills its field has no terminator and ends there.
        const uint8_t* nameEnd = std::find(record, record + kSceneNameBytes, uint8_t(0));
        layer.name.assign(record, nameEnd);
        if (nameEnd != record + kSceneNameBytes) {
            const uint8_t* padding = nameEnd + 1;
            const uint8_t* paddingEnd = record + kSceneNameBytes;
            while (paddingEnd > padding && paddingEnd[-1] == 0) --paddingEnd;
            layer.namePadding.assign(padding, paddingEnd);
        }
        layer.mode = int32At(record + kSceneNameBytes);
        const int32_t count = int32At(record + kSceneNameBytes + 4);
        if (count < 0) {
            at += kSceneNameBytes + 4;
            stop("layer " + std::to_string(layerNumber) + " has a negative key count (" + std::to_string(count) +
                 ")");
            break;
        }
        at += headerBytes;
        // The count is a promise: keys are taken only while whole ones remain.
        const std::size_t available = (bytes.size() - at) / kSceneKeyBytes;
        const std::size_t taken = std::min(std::size_t(count), available);
        layer.keys.reserve(taken);
        for (std::size_t k = 0; k < taken; ++k, at += kSceneKeyBytes) layer.keys.push_back(keyAt(bytes.data() + at));
        read.layers.push_back(std::move(layer));
        if (taken < std::size_t(count)) {
            stop("layer " + std::to_string(layerNumber) + " promises " + std::to_string(count) +
                 " keys and holds " + std::to_string(taken));
            break;
        }
    }
    return read;
}

std::string sceneRecordProblem(const SceneLayerRecord& layer) {
    if (layer.name.find('\0') != std::string::npos) return "a name cannot hold a zero byte";
    if (layer.name.size() > kSceneNameBytes) return "a name holds at most 512 bytes";
    if (!layer.namePadding.empty() && layer.name.size() + 1 + layer.namePadding.size() > kSceneNameBytes)
        return "the name padding does not fit in the name's 512 bytes after the name and its terminator";
    if (layer.keys.size() > std::size_t(INT32_MAX)) return "too many keys";
    return {};
}

std::vector<uint8_t> writeSceneFile(const std::vector<SceneLayerRecord>& layers) {
    std::vector<uint8_t> out;
    for (const SceneLayerRecord& layer : layers) {
        uint8_t field[kSceneNameBytes] = {};
        std::size_t nameBytes = std::min(layer.name.size(), kSceneNameBytes);
        std::memcpy(field, layer.name.data(), nameBytes);
        if (nameBytes + 1 < kSceneNameBytes) {
            std::size_t paddingBytes = std::min(layer.namePadding.size(), kSceneNameBytes - nameBytes - 1);
            std::memcpy(field + nameBytes + 1, layer.namePadding.data(), paddingBytes);
        }
        out.insert(out.end(), field, field + kSceneNameBytes);
        putInt32(out, layer.mode);
        putInt32(out, int32_t(layer.keys.size()));
        for (const SceneKey& key : layer.keys)
            for (float value : {key.unused, key.time, key.left, key.y0, key.right, key.y1, key.opacity})
                putFloat(out, value);
    }
    return out;
}

}  // namespace vorn::nodes
