#include "nodes/scene/ObjFile.h"

#include "nodes/scene/FaceTriangulation.h"
#include "nodes/scene/TextScan.h"
#include "platform/FileLimits.h"
#include "platform/Paths.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

namespace vorn::nodes {

namespace {

// Which elements the corners of a face name: from the "/"-separated parts of
// a corner, or, for a corner of another part count, those of the corner before.
enum class Form : uint8_t { Position, PositionUv, PositionNormal, PositionUvNormal, None };

struct Corner {
    uint32_t position;
    int32_t uv;      // -1: none, texture coordinate (0, 0)
    int32_t normal;  // -1: none
};

// One "/"-separated part of a face corner, read as it was scanned.
struct CornerPart {
    bool empty = true;
    bool number = false;  // a whole decimal integer of 32 bits
    int64_t value = 0;
};

// A list index as written: k > 0 is element k - 1, k < 0 counts from the end.
bool resolveIndex(const CornerPart& part, std::size_t listSize, uint32_t& index) {
    if (!part.number || part.value == 0) return false;
    int64_t i = part.value > 0 ? part.value - 1 : int64_t(listSize) + part.value;
    if (i < 0 || i >= int64_t(listSize)) return false;
    index = uint32_t(i);
    return true;
}

// Scans one corner from p up to the next space, splitting it at "/" (an empty
// part between two "/", none after a last one) and reading each of the first
// three parts as a number on the way. Gives the part count.
std::size_t scanCorner(const char*& p, const char* end, CornerPart (&parts)[3]) {
    // Values saturate here: anything above 2^31 is no 32-bit index anyway.
    constexpr uint64_t kSaturated = uint64_t(1) << 32;
    std::size_t count = 0;
    const char* start = p;
    uint64_t value = 0;
    bool digits = false, negative = false, clean = true;
    auto close = [&] {
        if (count < 3) {
            CornerPart& part = parts[count];
            part.empty = p == start;
            part.number = clean && digits && value <= (negative ? uint64_t(2147483648u) : uint64_t(2147483647u));
            part.value = negative ? -int64_t(value) : int64_t(value);
        }
        ++count;
        value = 0;
        digits = negative = false;
        clean = true;
    };
    for (; p < end; ++p) {
        const char c = *p;
        const unsigned d = unsigned(c - '0');
        if (d < 10) {
            value = std::min(value * 10 + d, kSaturated);
            digits = true;
        } else if (c == ' ') {
            break;
        } else if (c == '/') {
            close();
            start = p + 1;
        } else if ((c == '-' || c == '+') && p == start) {
            negative = c == '-';
        } else {
            clean = false;
        }
    }
    if (p > start) close();
    return count;
}

// The first N pieces of a " "-separated tail as numbers; pieces after them are ignored.
template <std::size_t N>
bool readFloats(std::string_view tail, std::array<float, N>& out) {
    const char* p = tail.data();
    const char* end = p + tail.size();
    for (std::size_t k = 0; k < N; ++k) {
        if (p >= end) return false;
        const char* stop = text::parseFloat(p, end, out[k]);
        if (!stop || (stop != end && *stop != ' ')) return false;
        p = stop == end ? end : stop + 1;
    }
    return true;
}

class ObjParser {
public:
    ObjParser(ObjFile& out, std::string_view path, const MtlLibraryReader& readLibrary, const ProgressText& progress)
        : out_(out), path_(path), readLibrary_(readLibrary), progress_(progress) {}

    // Lists are reserved for a file of sizeHint bytes (see reserveForSize).
    void begin(std::size_t sizeHint) { reserveForSize(sizeHint); }

    // The next whole lines of the file.
    void feed(std::string_view text) {
        text::LineReader lines(text);
        std::string_view line;
        while (lines.next(line)) {
            const std::size_t number = linesBefore_ + lines.number();
            if (progress_ && ((number - 1) % 1000 == 0 || afterUsemtl_)) writeProgress();
            afterUsemtl_ = false;
            auto [word, tail] = text::firstWord(line);
            if (word.empty()) continue;

            if (word == "o" || word == "g" || line[0] == 'g') {
                startObject((word == "o" || word == "g") && !tail.empty() ? tail : std::string_view("unnamed"));
            } else if (word == "v") {
                std::array<float, 3> v;
                if (readFloats(tail, v)) positions_.push_back(v);
                else malformed_.add(number);
            } else if (word == "vt") {
                std::array<float, 2> t;
                if (readFloats(tail, t)) texcoords_.push_back(t);
                else malformed_.add(number);
            } else if (word == "vn") {
                std::array<float, 3> n;
                if (readFloats(tail, n)) normals_.push_back(n);
                else malformed_.add(number);
            } else if (word == "f") {
                if (!readFace(tail)) malformed_.add(number);
                else if (corners_.size() > kMaxEarClippedCorners) bigFaces_.add(number);
            } else if (word == "usemtl") {
                materialNames_.emplace_back(tail);
                if (pending()) finishMesh(name_ + "_2");
                afterUsemtl_ = true;
            } else if (word == "mtllib") {
                readMaterialLibrary(tail);
            }
        }
        linesBefore_ += lines.number();
    }

    // The end of the file.
    void finish() {
        if (pending()) finishMesh(name_);
        attachMaterials();
        report(malformed_, path_, "malformed");
        if (bigFaces_.count)
            out_.diagnostics.push_back(path_ + ": " + std::to_string(bigFaces_.count) + " face" +
                                       (bigFaces_.count == 1 ? "" : "s") + " of more than " +
                                       std::to_string(kMaxEarClippedCorners) +
                                       " corners cut as fans from the first corner, the first at line " +
                                       std::to_string(bigFaces_.first));
    }

private:
    // Room for as much as a file of this size can hold ("v 1 1 1" takes at
    // least 8 bytes, a face corner 2), so that no list is ever copied to grow:
    // lists of megabytes would be copied and touched twice. It is address space
    // only (LargeBuffer.h): pages cost nothing until written. Where the system
    // will not give that much, the lists grow as they go.
    void reserveForSize(std::size_t bytes) {
        try {
            positions_.reserve(bytes / 8 + 1);
            texcoords_.reserve(bytes / 7 + 1);
            normals_.reserve(bytes / 9 + 1);
            out_.vertices.reserve(bytes / 2 + 1);
            out_.indices.reserve(3 * (bytes / 2 + 1));
        } catch (const std::bad_alloc&) {
        }
    }

    bool pending() const {
        return out_.vertices.size() > meshFirstVertex_ && out_.indices.size() > meshFirstIndex_;
    }

    // Faces read before the first object line belong to the first object.
    void startObject(std::string_view name) {
        if (objectSeen_ && pending()) finishMesh(name_);
        objectSeen_ = true;
        name_ = name;
    }

    void finishMesh(std::string name) {
        ObjMesh mesh;
        mesh.name = std::move(name);
        mesh.firstVertex = meshFirstVertex_;
        mesh.vertexCount = uint32_t(out_.vertices.size() - meshFirstVertex_);
        mesh.firstIndex = meshFirstIndex_;
        mesh.indexCount = uint32_t(out_.indices.size() - meshFirstIndex_);
        out_.meshes.push_back(std::move(mesh));
        meshFirstVertex_ = uint32_t(out_.vertices.size());
        meshFirstIndex_ = uint32_t(out_.indices.size());
    }

    // Checks every corner before anything is appended, so that a malformed
    // face leaves no trace.
    bool readFace(std::string_view tail) {
        corners_.clear();
        Form previous = Form::None;
        bool everyNormal = true;
        const char* p = tail.data();
        const char* end = p + tail.size();
        while (p < end) {
            CornerPart parts[3];
            const std::size_t partCount = scanCorner(p, end, parts);
            if (p < end) ++p;  // the space

            Form form = previous;
            if (partCount == 1) form = Form::Position;
            else if (partCount == 2) form = Form::PositionUv;
            else if (partCount == 3 || (partCount > 3 && previous == Form::None))
                form = parts[1].empty ? Form::PositionNormal : Form::PositionUvNormal;
            if (form == Form::None) return false;

            Corner corner{0, -1, -1};
            uint32_t index = 0;
            if (!resolveIndex(parts[0], positions_.size(), corner.position)) return false;
            if (form == Form::PositionUv || form == Form::PositionUvNormal) {
                if (!resolveIndex(parts[1], texcoords_.size(), index)) return false;
                corner.uv = int32_t(index);
            }
            if (form == Form::PositionNormal || form == Form::PositionUvNormal) {
                if (!resolveIndex(parts[2], normals_.size(), index)) return false;
                corner.normal = int32_t(index);
            } else {
                everyNormal = false;
            }
            corners_.push_back(corner);
            previous = form;
        }
        // A corner without a normal gives the whole face the cross product of
        // its first three corners, so a face of fewer cannot be read.
        if (!everyNormal && corners_.size() < 3) return false;

        std::array<float, 3> faceNormal{};
        if (!everyNormal) {
            const auto& c0 = positions_[corners_[0].position];
            const auto& c1 = positions_[corners_[1].position];
            const auto& c2 = positions_[corners_[2].position];
            float a[3] = {c0[0] - c1[0], c0[1] - c1[1], c0[2] - c1[2]};
            float b[3] = {c2[0] - c1[0], c2[1] - c1[1], c2[2] - c1[2]};
            faceNormal = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
        }

        const std::size_t base = out_.vertices.size();
        for (const Corner& corner : corners_) {
            MeshVertex v;
            const auto& position = positions_[corner.position];
            const auto& normal = everyNormal ? normals_[uint32_t(corner.normal)] : faceNormal;
            v.position[0] = position[0];
            v.position[1] = position[1];
            v.position[2] = position[2];
            v.normal[0] = normal[0];
            v.normal[1] = normal[1];
            v.normal[2] = normal[2];
            if (corner.uv >= 0) {
                v.uv[0] = texcoords_[uint32_t(corner.uv)][0];
                v.uv[1] = texcoords_[uint32_t(corner.uv)][1];
            } else {
                v.uv[0] = v.uv[1] = 0.0f;
            }
            out_.vertices.push_back(v);
        }

        triangles_.clear();
        triangulateFace(std::span(out_.vertices).subspan(base), triangles_, working_);
        const uint32_t first = uint32_t(base) - meshFirstVertex_;
        for (uint32_t corner : triangles_) out_.indices.push_back(first + corner);
        return true;
    }

    void readMaterialLibrary(std::string_view name) {
        // Either separator: models named by productions carry Windows paths.
        std::size_t slash = path_.find_last_of("/\\");
        std::string libraryPath = (slash == std::string::npos ? std::string() : path_.substr(0, slash + 1)) +
                                  std::string(name);
        if (progress_) progress_("\n- find materials in: " + libraryPath + "\n");
        if (libraryPath.size() < 4 || libraryPath.compare(libraryPath.size() - 4, 4, ".mtl") != 0) return;
        if (!readLibrary_) return;
        std::optional<std::vector<uint8_t>> bytes = readLibrary_(libraryPath);
        if (!bytes) return;
        SkippedLines skipped;
        readMtlLibrary(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
                       out_.materials, skipped);
        report(skipped, libraryPath, "malformed");
    }

    // Mesh i gets the material named by the i-th "usemtl" line; the first of
    // several records of that name.
    void attachMaterials() {
        for (std::size_t i = 0; i < out_.meshes.size() && i < materialNames_.size(); ++i)
            for (std::size_t m = 0; m < out_.materials.size(); ++m)
                if (out_.materials[m].name == materialNames_[i]) {
                    out_.meshes[i].material = int32_t(m);
                    break;
                }
    }

    void writeProgress() {
        if (name_.empty()) return;
        std::string line = "\r- " + name_ + "\t| vertices > " + std::to_string(positions_.size()) +
                           "\t| texcoords > " + std::to_string(texcoords_.size()) + "\t| normals > " +
                           std::to_string(normals_.size()) + "\t| triangles > " +
                           std::to_string((out_.vertices.size() - meshFirstVertex_) / 3);
        if (!materialNames_.empty()) line += "\t| material: " + materialNames_.back();
        progress_(line);
    }

    void report(const SkippedLines& skipped, const std::string& path, std::string_view what) {
        std::string line = skippedLinesDiagnostic(path, skipped, what);
        if (!line.empty()) out_.diagnostics.push_back(std::move(line));
    }

    ObjFile& out_;
    std::string path_;
    const MtlLibraryReader& readLibrary_;
    const ProgressText& progress_;
    std::size_t linesBefore_ = 0;      // lines of the earlier feeds
    bool afterUsemtl_ = false;

    platform::LargeVector<std::array<float, 3>> positions_;
    platform::LargeVector<std::array<float, 2>> texcoords_;
    platform::LargeVector<std::array<float, 3>> normals_;
    std::vector<std::string> materialNames_;
    std::string name_;
    bool objectSeen_ = false;
    uint32_t meshFirstVertex_ = 0;
    uint32_t meshFirstIndex_ = 0;
    SkippedLines malformed_;
    SkippedLines bigFaces_;

    // Scratch space of one face, kept between faces.
    std::vector<Corner> corners_;
    std::vector<uint32_t> triangles_;
    std::vector<uint32_t> working_;
};

bool hasObjExtension(std::string_view path) {
    if (path.size() < 4) return false;
    std::string_view last = path.substr(path.size() - 4);
    return last == ".obj" || last == ".OBJ" || last == ".Obj";
}

}  // namespace

ObjFile readObjFile(std::string_view content, std::string_view path, const MtlLibraryReader& readLibrary,
                    const ProgressText& progress) {
    ObjFile file;
    ObjParser parser(file, path, readLibrary, progress);
    parser.begin(content.size());
    parser.feed(content);
    parser.finish();
    return file;
}

std::optional<ObjFile> loadObjFile(std::string_view path, const ProgressText& progress, std::string* whyNot) {
    if (whyNot) whyNot->clear();
    if (!hasObjExtension(path)) return std::nullopt;
    std::FILE* stream = platform::openFile(path, "rb", whyNot, platform::kMaxMeshFileBytes);
    if (!stream) return std::nullopt;
    struct Closer {
        std::FILE* stream;
        ~Closer() { std::fclose(stream); }
    } closer{stream};
    std::setvbuf(stream, nullptr, _IONBF, 0);  // whole chunks, straight into the buffer
    std::size_t size = 0;
    if (std::fseek(stream, 0, SEEK_END) == 0) size = std::size_t(std::max(0L, std::ftell(stream)));
    std::rewind(stream);

    MtlLibraryReader readLibrary = [](const std::string& libraryPath) {
        return platform::readFile(libraryPath, platform::kMaxTextFileBytes);
    };
    try {
        ObjFile file;
        ObjParser parser(file, path, readLibrary, progress);
        parser.begin(size);
        // The file in chunks of whole lines: a model of hundreds of MB needs no
        // buffer of its size, and each chunk is parsed while it is in cache.
        platform::LargeVector<char> buffer(std::size_t(1) << 20);
        std::size_t filled = 0, total = 0;
        for (;;) {
            if (filled == buffer.size()) buffer.resize(buffer.size() * 2);  // a line longer than a chunk
            const std::size_t got = std::fread(buffer.data() + filled, 1, buffer.size() - filled, stream);
            total += got;
            filled += got;
            if (total > platform::kMaxMeshFileBytes) {
                if (whyNot) *whyNot = "grew beyond the limit of a model file while it was read";
                return std::nullopt;
            }
            if (got == 0) {
                if (std::ferror(stream)) {
                    if (whyNot) *whyNot = std::strerror(errno);
                    return std::nullopt;
                }
                parser.feed(std::string_view(buffer.data(), filled));
                break;
            }
            std::size_t complete = filled;
            while (complete > 0 && buffer[complete - 1] != '\n') --complete;
            if (complete == 0) continue;
            parser.feed(std::string_view(buffer.data(), complete));
            std::memmove(buffer.data(), buffer.data() + complete, filled - complete);
            filled -= complete;
        }
        parser.finish();
        return file;
    } catch (const std::bad_alloc&) {
        // Faces repeat their corners: a file can ask for some twenty times its size.
        if (whyNot) *whyNot = "not enough memory for its meshes";
        return std::nullopt;
    }
}

}  // namespace vorn::nodes
