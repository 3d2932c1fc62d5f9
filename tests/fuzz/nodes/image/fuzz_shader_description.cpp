// Any shader description file: the reader keeps within its limits and reads a
// file on disk exactly as the same bytes in memory.
#include <cstdio>

#include "nodes/image/EffectLibrary.h"
#include "nodes/image/ShaderDescription.h"
#include "tests/fuzz/FuzzCheck.h"

using namespace vorn;
using fuzz::check;

namespace {

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

void checkSame(const nodes::ShaderDescription& a, const nodes::ShaderDescription& b) {
    check(a.name == b.name && a.secondName == b.secondName && a.source == b.source);
    check(a.sourceMissing == b.sourceMissing && a.inputNames == b.inputNames && a.inputTypes == b.inputTypes);
    check(a.parameters.size() == b.parameters.size());
    for (std::size_t i = 0; i < a.parameters.size(); ++i) {
        const nodes::ShaderParam &p = a.parameters[i], &q = b.parameters[i];
        check(p.kind == q.kind && p.name == q.name && p.choices == q.choices && p.choice == q.choice);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::enterScratchFolder();
    nodes::registerEffectLibrary();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    nodes::ShaderDescription fromText;
    nodes::parseShaderDescriptionText({reinterpret_cast<const char*>(data), size}, fromText, "fuzz");
    checkLimits(fromText);

    std::FILE* file = std::fopen("effect.node", "wb");
    check(file && std::fwrite(data, 1, size, file) == size && std::fclose(file) == 0);
    nodes::ShaderDescription fromFile;
    check(nodes::ParseShaderDescription("effect.node", fromFile));
    checkSame(fromText, fromFile);
    return 0;
}
