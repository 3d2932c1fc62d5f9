#include "tools/mesh/MeshTool.h"

#include "nodes/scene/ObjConversion.h"
#include "nodes/scene/ObjFile.h"
#include "platform/TextEncoding.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <span>
#include <string_view>

namespace vorn::tools {

namespace {

using nodes::MtlMaterial;
using nodes::ObjFile;

// True when bytes are well-formed UTF-8 (names in newer files are).
bool isUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t extra = (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : 0;
        if (extra == 0 || c < 0xC2 || i + extra >= s.size()) return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 0x2) return false;
        i += extra + 1;
    }
    return true;
}

// A small JSON writer: the tool's output is too regular to need more, and
// --geometry lists run to millions of numbers.
class JsonText {
public:
    std::string text;

    void string(std::string_view raw) {
        std::string utf8 = isUtf8(raw) ? std::string(raw) : platform::latin1ToUtf8(raw);
        text += '"';
        for (char c : utf8) {
            if (c == '"' || c == '\\') {
                text += '\\';
                text += c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(c));
                text += escaped;
            } else {
                text += c;
            }
        }
        text += '"';
    }
    // Shortest text that reads back as the same float; null for what JSON cannot hold.
    void number(float value) {
        if (!std::isfinite(value)) {
            text += "null";
            return;
        }
        char buffer[32];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        text.append(buffer, result.ptr);
    }
    void number(std::size_t value) { text += std::to_string(value); }
    void number(uint32_t value) { text += std::to_string(value); }
    void number(int32_t value) { text += std::to_string(value); }
    template <class T>
    void list(std::span<const T> values) {
        text += '[';
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i) text += ", ";
            number(values[i]);
        }
        text += ']';
    }
    void key(std::string_view name) {
        string(name);
        text += ": ";
    }
};

void writeGeometry(JsonText& json, const nodes::ObjObject& object) {
    std::vector<float> positions, normals, uvs;
    for (const nodes::MeshVertex& v : object.vertices) {
        positions.insert(positions.end(), {v.position[0], v.position[1], v.position[2]});
        normals.insert(normals.end(), {v.normal[0], v.normal[1], v.normal[2]});
        uvs.insert(uvs.end(), {v.uv[0], v.uv[1]});
    }
    json.text += ",\n     ";
    json.key("positions");
    json.list(std::span<const float>(positions));
    json.text += ",\n     ";
    json.key("normals");
    json.list(std::span<const float>(normals));
    json.text += ",\n     ";
    json.key("uvs");
    json.list(std::span<const float>(uvs));
    json.text += ",\n     ";
    json.key("indices");
    json.list(object.indices);
}

void writeMaterial(JsonText& json, const MtlMaterial& m) {
    json.text += "{";
    json.key("name");
    json.string(m.name);
    for (auto [name, colour] : {std::pair{"Ka", &m.Ka}, {"Kd", &m.Kd}, {"Ks", &m.Ks}}) {
        json.text += ", ";
        json.key(name);
        json.list(std::span<const float>(*colour));
    }
    for (auto [name, value] : {std::pair{"Ns", m.Ns}, {"Ni", m.Ni}, {"d", m.d}}) {
        json.text += ", ";
        json.key(name);
        json.number(value);
    }
    json.text += ", ";
    json.key("illum");
    json.number(m.illum);
    for (auto [name, path] : {std::pair{"map_Ka", &m.map_Ka}, {"map_Kd", &m.map_Kd}, {"map_Ks", &m.map_Ks},
                              {"map_Ns", &m.map_Ns}, {"map_d", &m.map_d}, {"map_bump", &m.map_bump}}) {
        json.text += ", ";
        json.key(name);
        json.string(*path);
    }
    json.text += "}";
}

// The file's vertices are converted on the way.
std::string describe(ObjFile& file, bool geometry) {
    nodes::ObjObjects converted = nodes::convertObjFile(file, false);
    const std::vector<nodes::ObjObject>& objects = converted.objects;
    JsonText json;
    json.text += "{\n  ";
    json.key("objects");
    json.text += "[";
    for (std::size_t i = 0; i < objects.size(); ++i) {
        json.text += i ? ",\n    {" : "\n    {";
        json.key("name");
        json.string(objects[i].name);
        json.text += ", ";
        json.key("vertices");
        json.number(objects[i].vertices.size());
        json.text += ", ";
        json.key("triangles");
        json.number(objects[i].indices.size() / 3);
        if (geometry) writeGeometry(json, objects[i]);
        json.text += "}";
    }
    json.text += objects.empty() ? "],\n  " : "\n  ],\n  ";

    json.key("meshes");
    json.text += "[";
    for (std::size_t i = 0; i < file.meshes.size(); ++i) {
        const nodes::ObjMesh& mesh = file.meshes[i];
        json.text += i ? ",\n    {" : "\n    {";
        json.key("name");
        json.string(mesh.name);
        json.text += ", ";
        json.key("vertices");
        json.number(std::size_t(mesh.vertexCount));
        json.text += ", ";
        json.key("triangles");
        json.number(std::size_t(mesh.indexCount / 3));
        json.text += ", ";
        json.key("material");
        if (mesh.material >= 0) json.string(file.materials[std::size_t(mesh.material)].name);
        else json.text += "null";
        json.text += "}";
    }
    json.text += file.meshes.empty() ? "],\n  " : "\n  ],\n  ";

    json.key("materials");
    json.text += "[";
    for (std::size_t i = 0; i < file.materials.size(); ++i) {
        json.text += i ? ",\n    " : "\n    ";
        writeMaterial(json, file.materials[i]);
    }
    json.text += file.materials.empty() ? "]" : "\n  ]";

    if (const std::optional<nodes::ObjBounds>& bounds = converted.bounds) {
        json.text += ",\n  ";
        json.key("bounds");
        json.text += "{";
        json.key("min");
        json.list(std::span<const float>(bounds->min));
        json.text += ", ";
        json.key("max");
        json.list(std::span<const float>(bounds->max));
        json.text += "}";
    }
    json.text += "\n}\n";
    return json.text;
}

}  // namespace

int runMeshTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> files;
    bool geometry = false;
    for (const std::string& arg : args) {
        if (arg == "--geometry") geometry = true;
        else files.push_back(arg);
    }
    if (files.size() != 1 || files[0].starts_with("--")) {
        err << "usage: vorn-mesh FILE.obj [--geometry]\n";
        return 2;
    }
    const std::string& path = files[0];

    bool progressShown = false;
    nodes::ProgressText progress = [&](std::string_view text) {
        err << text;
        progressShown = true;
    };
    std::string whyNot;
    std::optional<ObjFile> file = nodes::loadObjFile(path, progress, &whyNot);
    if (progressShown) err << "\n";
    if (!file) {
        err << "vorn-mesh: cannot load " << path << ": "
            << (whyNot.empty() ? "not an OBJ file (the name must end in .obj, .OBJ or .Obj)" : whyNot) << "\n";
        return 1;
    }
    for (const std::string& line : file->diagnostics) err << line << "\n";
    if (!file->loaded()) {
        err << "vorn-mesh: " << path << " holds no faces or vertices\n";
        return 1;
    }
    out << describe(*file, geometry);
    return 0;
}

}  // namespace vorn::tools
