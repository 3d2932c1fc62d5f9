// Shader description files: a text file in "Scripts\" that declares a node
// type - its name, image inputs and parameters - and carries a GLSL fragment
// source or names one of the built-in effect library. Each parsed file becomes
// a node type whose nodes are ImageNode_Shader.
//
// The file is a sequence of blank-separated words (at most 255 characters, a
// trailing "," dropped); a word that is not a key is skipped. Keys:
//     Type <word>                              ignored
//     Name "<name>" "<second name>"
//     Input <index> "<name>" "<type word>"     rgba / geometry / normaldepth / property
//     Param <index> "<name>" <type> <values>   float, floatEvolution, int, option,
//                                              direction, position, color, rocket
//     Source                                   the rest of the file is the source
//     SourceLib <library name>
// A quoted text skips blanks (only ' '), then reads from '"' to the next '"'
// and consumes the one character after it; any other character yields an
// empty text and is consumed.
//
// This file needs no GL, so the file reader can be fuzzed on its own.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::nodes {

struct ShaderParam {
    enum Kind : int32_t {
        None = 0,       // an index never declared: registers nothing, sets no uniform
        Float = 2,      // "float" (clamped) and "floatEvolution" (wraps in the editor)
        IntFloat = 3,   // "int": a float in the editor, an int uniform
        Choice = 4,     // "option"
        Direction = 5,  // "direction"
        Position = 6,   // "position"
        Colour = 7,     // "color"
        SyncTrack = 8,  // "rocket": driven by the sync tracker, not saved
    };

    int32_t kind = None;
    std::string name;  // the label and the uniform's name
    float value = 0.0f;
    float minimum = 0.0f;
    float maximum = 0.0f;
    float defaultValue = 0.0f;
    uint8_t clamp = 0;
    float direction[2] = {};
    float position[2] = {};
    float colour[4] = {};
    std::vector<std::string> choices;
    int32_t choice = 0;
};

struct ShaderDescription {
    // The source buffer: at most 20479 characters and the terminating zero.
    static constexpr std::size_t kSourceCapacity = 20480;
    // Indices beyond these are refused (the line is read and dropped), which
    // bounds what a file can make the reader allocate.
    static constexpr int32_t kMaxInputs = 16;
    static constexpr int32_t kMaxParameters = 256;

    std::vector<std::string> inputNames;  // index i: input i and its sampler uniform
    std::vector<int32_t> inputTypes;      // one per "Input" line, in file order: the slot to sample
    std::vector<ShaderParam> parameters;  // by the file's parameter index
    std::string name;                     // the node type name
    std::string secondName;               // kept with the description, read by nothing
    std::string source;                   // the fragment stage
    // "SourceLib" named an entry the library lacks: the source is empty and
    // nodes of this type are in error.
    bool sourceMissing = false;
};

// The image slot an input type word selects: "rgba" 0, "geometry" 1,
// "normaldepth" 2, "property" 3, any other word 0.
int32_t inputTypeSlot(std::string_view word);

// Reads the file into a fresh description. False, with one diagnostic line,
// only when it cannot be opened (see platform::openFile); anything readable
// (an empty file too) gives true.
bool ParseShaderDescription(const std::string& path, ShaderDescription& description);

// The same rules over bytes in memory; origin names them in diagnostics.
void parseShaderDescriptionText(std::string_view text, ShaderDescription& description,
                                std::string_view origin = "description");

}  // namespace vorn::nodes
