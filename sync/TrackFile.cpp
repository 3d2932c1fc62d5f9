#include "sync/TrackFile.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/Debug.h"
#include "platform/FileLimits.h"
#include "platform/Paths.h"

namespace vorn::sync {

namespace {

constexpr std::size_t maxPathLength = 259;  // what fits a 260-byte buffer with its terminator
constexpr std::size_t keyRecordSize = 9;    // row, value, kind

bool isPlainByte(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '/' || c == '_';
}

// The name's "/"-separated component that holds position i.
std::string_view componentAt(std::string_view name, std::size_t i) {
    std::size_t start = name.rfind('/', i);
    start = start == std::string_view::npos ? 0 : start + 1;
    std::size_t end = name.find('/', i);
    if (end == std::string_view::npos) end = name.size();
    return name.substr(start, end - start);
}

// A plain byte that would still let the path climb out of, or stand for, a
// folder: a dot of a "." or ".." component, or a "/" that closes an empty one.
bool formsUnsafeComponent(std::string_view name, std::size_t i) {
    if (name[i] == '.') {
        std::string_view component = componentAt(name, i);
        return component == "." || component == "..";
    }
    if (name[i] == '/') return i == 0 || name[i - 1] == '/' || i + 1 == name.size();
    return false;
}

void putLe32(uint8_t* out, uint32_t v) {
    out[0] = uint8_t(v);
    out[1] = uint8_t(v >> 8);
    out[2] = uint8_t(v >> 16);
    out[3] = uint8_t(v >> 24);
}

uint32_t getLe32(const uint8_t* in) {
    return uint32_t(in[0]) | uint32_t(in[1]) << 8 | uint32_t(in[2]) << 16 | uint32_t(in[3]) << 24;
}

// A missing file is the usual case (a track never saved) and goes unmentioned;
// one that is there but cannot be used says why.
std::FILE* openThroughPaths(const char* path, const char* mode) {
    std::string whyNot;
    std::FILE* file = platform::openFile(path, mode, &whyNot, platform::kMaxTrackFileBytes);
    if (!file && platform::fileExists(path))
        platform::debugLine("track file " + platform::displayPath(path) + ": " + whyNot);
    return file;
}

}  // namespace

std::string encodeTrackName(std::string_view name) {
    static const char hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (std::size_t i = 0; i < name.size(); ++i) {
        auto c = static_cast<unsigned char>(name[i]);
        if (isPlainByte(c) && !formsUnsafeComponent(name, i)) {
            if (encoded.size() >= maxPathLength) break;
            encoded.push_back(char(c));
        } else {
            if (encoded.size() >= maxPathLength - 2) break;
            encoded.push_back('-');
            encoded.push_back(hex[c >> 4]);
            encoded.push_back(hex[c & 15]);
        }
    }
    return encoded;
}

std::string trackPath(std::string_view base, std::string_view name) {
    std::string path(base);
    path += '_';
    path += encodeTrackName(name);
    path += ".track";
    if (path.size() > maxPathLength) path.resize(maxPathLength);
    return path;
}

SyncFileFunctions defaultFileFunctions() { return {openThroughPaths, std::fread, std::fclose}; }

bool loadTrackFile(SyncTrack& track, const std::string& path, const SyncFileFunctions& files) {
    std::FILE* file = files.open(path.c_str(), "rb");
    if (!file) return false;

    uint8_t countBytes[4];
    if (files.read(countBytes, 1, sizeof countBytes, file) != sizeof countBytes) {
        files.close(file);
        platform::debugLine("track file " + path + ": no key count");
        return false;
    }
    auto count = int32_t(getLe32(countBytes));
    if (count < 0) {
        files.close(file);
        platform::debugLine("track file " + path + ": negative key count " + std::to_string(count));
        return false;
    }

    // Keys are appended as they are read, so a count larger than the file
    // holds costs no more memory than the keys that are really there.
    std::vector<SyncKey> keys;
    for (int32_t i = 0; i < count; ++i) {
        uint8_t record[keyRecordSize];
        if (files.read(record, 1, sizeof record, file) != sizeof record) {
            platform::debugLine("track file " + path + ": holds " + std::to_string(i) + " of " +
                                std::to_string(count) + " keys");
            break;
        }
        SyncKey key;
        key.row = int32_t(getLe32(record));
        uint32_t bits = getLe32(record + 4);
        std::memcpy(&key.value, &bits, sizeof key.value);
        key.kind = record[8];
        if (key.kind >= syncKeyKindCount) {
            platform::debugLine("track file " + path + ": key " + std::to_string(i) + " has unknown kind " +
                                std::to_string(key.kind));
            break;
        }
        if (!keys.empty() && key.row <= keys.back().row) {
            platform::debugLine("track file " + path + ": key " + std::to_string(i) + " is out of row order");
            break;
        }
        keys.push_back(key);
    }
    files.close(file);
    track.keys = std::move(keys);
    return true;
}

bool saveTrackFile(const SyncTrack& track, const std::string& path) {
    for (std::size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        std::string folder = path.substr(0, slash);
        if (folder.empty()) continue;
        if (!platform::makeDirectory(folder)) {
            platform::debugLine("cannot save track " + track.name + ": cannot create folder " + folder);
            return false;
        }
    }

    std::vector<uint8_t> bytes(4 + keyRecordSize * track.keys.size());
    putLe32(bytes.data(), uint32_t(track.keys.size()));
    uint8_t* out = bytes.data() + 4;
    for (const SyncKey& key : track.keys) {
        uint32_t bits;
        std::memcpy(&bits, &key.value, sizeof bits);
        putLe32(out, uint32_t(key.row));
        putLe32(out + 4, bits);
        out[8] = key.kind;
        out += keyRecordSize;
    }

    std::string whyNot;
    if (platform::writeFile(path, bytes, &whyNot)) return true;
    platform::debugLine("cannot save track " + platform::shortenMiddle(track.name) + ": cannot write " +
                        platform::displayPath(path) + ": " + whyNot);
    return false;
}

}  // namespace vorn::sync
