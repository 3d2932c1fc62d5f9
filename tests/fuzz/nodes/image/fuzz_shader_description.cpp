// Arbitrary shader description files: the reader must stay within its limits
// (names, lists, source buffer), never hang on counts the file cannot back,
// and read a file on disk exactly as the same bytes in memory.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "nodes/image/EffectLibrary.h"
#include "nodes/image/ShaderDescription.h"

using namespace vorn;

namespace {

std::string filePath;

void check(bool condition) {
    if (!condition) std::abort();
}

void checkLimits(const nodes::ShaderDescription& d) {
    check(d.source.size() < nodes::ShaderDescription::kSourceCapacity);
    check(d.inputNames.size() <= std::size_t(nodes::ShaderDescription::kMaxInputs));
    check(d.parameters.size() <= std::size_t(nodes::ShaderDescription::kMaxParameters));
    check(d.name.size() <= 255 && d.secondName.size() <= 255);
    for (const std::string& name : d.inputNames) check(name.size() <= 255);
    for (int32_t type : d.inputTypes) check(type >= 0 && type <= 3);
    for (const nodes::ShaderParam& p : d.parameters) {
        check(p.name.size() <= 255);
        for (const std::string& choice : p.choices) check(choice.size() <= 255);
    }
    check(!d.sourceMissing || d.source.empty());
}

bool same(const nodes::ShaderDescription& a, const nodes::ShaderDescription& b) {
    if (a.name != b.name || a.secondName != b.secondName || a.source != b.source ||
        a.sourceMissing != b.sourceMissing || a.inputNames != b.inputNames || a.inputTypes != b.inputTypes ||
        a.parameters.size() != b.parameters.size())
        return false;
    for (std::size_t i = 0; i < a.parameters.size(); ++i) {
        const nodes::ShaderParam &p = a.parameters[i], &q = b.parameters[i];
        if (p.kind != q.kind || p.name != q.name || p.choices != q.choices || p.choice != q.choice) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // In memory where the system offers it: a file is written for every input.
    static char shm[] = "/dev/shm/vorn-fuzz-shader-XXXXXX";
    static char tmp[] = "/tmp/vorn-fuzz-shader-XXXXXX";
    char* folder = ::mkdtemp(shm);
    if (!folder) folder = ::mkdtemp(tmp);
    if (!folder) std::abort();
    filePath = std::string(folder) + "/effect.node";
    static std::string removeFile = filePath, removeFolder = folder;
    std::atexit([] {
        std::remove(removeFile.c_str());
        ::rmdir(removeFolder.c_str());
    });
    nodes::registerEffectLibrary();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);

    nodes::ShaderDescription fromText;
    nodes::parseShaderDescriptionText(text, fromText, "fuzz");
    checkLimits(fromText);

    std::FILE* file = std::fopen(filePath.c_str(), "wb");
    if (!file) std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    nodes::ShaderDescription fromFile;
    check(nodes::ParseShaderDescription(filePath, fromFile));
    check(same(fromText, fromFile));
    return 0;
}
