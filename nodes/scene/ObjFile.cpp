#include "nodes/scene/ObjFile.h"

#include "nodes/scene/FaceTriangulation.h"
#include "nodes/scene/TextScan.h"
#include "platform/FileLimits.h"
#include "platform/Paths.h"

#include <array>
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

// A list index as written: k > 0 is element k - 1, k < 0 counts from the end.
bool resolveIndex(std::string_view part, std::size_t listSize, uint32_t& index) {
    int32_t k = 0;
    if (!text::wholeInt(part, k) || k == 0) return false;
    int64_t i = k > 0 ? int64_t(k) - 1 : int64_t(listSize) + k;
    if (i < 0 || i >= int64_t(listSize)) return false;
    index = uint32_t(i);
    return true;
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

    void run(std::string_view content) {
        reserveForSize(content.size());

        text::LineReader lines(content);
        std::string_view line;
        bool afterUsemtl = false;
        while (lines.next(line)) {
            const std::size_t number = lines.number();
            if (progress_ && ((number - 1) % 1000 == 0 || afterUsemtl)) writeProgress();
            afterUsemtl = false;
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
                afterUsemtl = true;
            } else if (word == "mtllib") {
                readMaterialLibrary(tail);
            }
        }
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
            // One corner: up to the next space, its parts split at "/".
            std::string_view parts[3];
            std::size_t partCount = 0;
            const char* partStart = p;
            for (; p < end && *p != ' '; ++p)
                if (*p == '/') {
                    if (partCount < 3) parts[partCount] = std::string_view(partStart, std::size_t(p - partStart));
                    ++partCount;
                    partStart = p + 1;
                }
            if (partStart < p) {
                if (partCount < 3) parts[partCount] = std::string_view(partStart, std::size_t(p - partStart));
                ++partCount;
            }
            if (p < end) ++p;  // the space

            Form form = previous;
            if (partCount == 1) form = Form::Position;
            else if (partCount == 2) form = Form::PositionUv;
            else if (partCount == 3 || (partCount > 3 && previous == Form::None))
                form = parts[1].empty() ? Form::PositionNormal : Form::PositionUvNormal;
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
        std::size_t slash = path_.rfind('/');
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
    ObjParser(file, path, readLibrary, progress).run(content);
    return file;
}

std::optional<ObjFile> loadObjFile(std::string_view path, const ProgressText& progress, std::string* whyNot) {
    if (whyNot) whyNot->clear();
    if (!hasObjExtension(path)) return std::nullopt;
    std::optional<platform::LargeVector<uint8_t>> bytes =
        platform::readLargeFile(path, platform::kMaxMeshFileBytes, whyNot);
    if (!bytes) return std::nullopt;
    MtlLibraryReader readLibrary = [](const std::string& libraryPath) {
        return platform::readFile(libraryPath, platform::kMaxTextFileBytes);
    };
    try {
        return readObjFile(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), path,
                           readLibrary, progress);
    } catch (const std::bad_alloc&) {
        // Faces repeat their corners: a file can ask for some twenty times its size.
        if (whyNot) *whyNot = "not enough memory for its meshes";
        return std::nullopt;
    }
}

}  // namespace vorn::nodes
