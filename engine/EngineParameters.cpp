// Parameter registration: node constructors declare their settings here, in
// the order the editor lays them out and the project file stores them.
#include "engine/Engine.h"

namespace vorn::engine {

namespace {

template <class Record>
Record& appendRecord(Engine* engine, ParameterList& list, const Node& node, const std::string& name) {
    auto record = std::make_unique<Record>(engine, name, node.name);
    Record& added = *record;
    list.push_back(std::move(record));
    return added;
}

}  // namespace

const ParameterList& Engine::parametersOf(const Node& node) const {
    static const ParameterList none;
    auto found = parametersByNode.find(&node);
    return found == parametersByNode.end() ? none : found->second;
}

bool Engine::addBool(Node& node, const std::string& name, bool* target, bool defaultValue) {
    *target = defaultValue;
    auto& record = appendRecord<ValueBool>(this, parametersByNode[&node], node, name);
    record.target = target;
    record.defaultValue = defaultValue;
    return true;
}

bool Engine::addInt(Node& node, const std::string& name, int32_t* target, int32_t defaultValue,
                    std::vector<std::string> choices) {
    *target = defaultValue;
    auto& record = appendRecord<ValueInt>(this, parametersByNode[&node], node, name);
    record.target = target;
    record.defaultValue = defaultValue;
    record.choices = std::move(choices);
    return true;
}

bool Engine::addFloat(Node& node, const std::string& name, float* target, float minimum, float maximum,
                      int32_t decimals, float defaultValue, bool clamp) {
    *target = defaultValue;
    auto& record = appendRecord<ValueFloat>(this, parametersByNode[&node], node, name);
    record.target = target;
    record.minimum = minimum;
    record.maximum = maximum;
    record.clamp = clamp;
    record.defaultValue = defaultValue;
    record.decimals = decimals;
    return true;
}

bool Engine::addFloat3(Node& node, const std::string& name, float* target, float minimum, float maximum,
                       int32_t decimals, std::array<float, 3> defaults) {
    static const char* const suffixes[3] = {".X", ".Y", ".Z"};
    for (std::size_t i = 0; i < 3; ++i)
        addFloat(node, name + suffixes[i], target + i, minimum, maximum, decimals, defaults[i], true);
    return true;
}

bool Engine::addVec2(Node& node, const std::string& name, float* target, std::array<float, 2> defaultValue,
                     Vec2Style style) {
    target[0] = defaultValue[0];
    target[1] = defaultValue[1];
    auto& record = appendRecord<ValueVec2>(this, parametersByNode[&node], node, name);
    record.target = target;
    record.defaultValue = defaultValue;
    record.style = style;
    return true;
}

bool Engine::addVec4(Node& node, const std::string& name, float* target, std::array<float, 4> defaultValue) {
    for (std::size_t i = 0; i < 4; ++i) target[i] = defaultValue[i];
    auto& record = appendRecord<ValueVec4>(this, parametersByNode[&node], node, name);
    record.target = target;
    record.defaultValue = defaultValue;
    return true;
}

bool Engine::addString(Node& node, const std::string& name, std::string* target, const std::string& defaultValue) {
    *target = defaultValue;
    auto& record = appendRecord<ValueString>(this, parametersByNode[&node], node, name);
    record.target = target;
    record.defaultValue = defaultValue;
    return true;
}

}  // namespace vorn::engine
