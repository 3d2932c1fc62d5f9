// Parameter records: the typed, named handles through which the editor, the
// project file and the animation system reach a node's settings. A record never
// owns the value; it points at the node member that does, so the node must
// outlive its records (the engine destroys them together, see Engine).
//
// Records are created only by the engine's registration functions (addBool ...
// addString), which node constructors call in the order the editor and the
// project file will list them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::engine {

class Engine;

// Type codes, also the codes stored in the project file.
enum class ValueType : uint32_t {
    Bool = 0,
    Int = 1,
    Float = 2,
    Vec2 = 3,
    Vec4 = 4,
    String = 5,
    MultiInt = 6,
};

class Value_Object {
public:
    Value_Object(Engine* owner, std::string name, std::string nodeName)
        : owner(owner), name(std::move(name)), nodeName(std::move(nodeName)) {}
    virtual ~Value_Object() = default;
    Value_Object(const Value_Object&) = delete;
    Value_Object& operator=(const Value_Object&) = delete;

    virtual ValueType type() const = 0;

    Engine* owner;
    std::string name;      // unique within its node; the key its value is saved under
    std::string nodeName;  // the node's name when the record was made
};

class ValueBool : public Value_Object {
public:
    using Value_Object::Value_Object;
    ValueType type() const override { return ValueType::Bool; }
    bool* target = nullptr;
    bool defaultValue = false;
};

class ValueInt : public Value_Object {
public:
    using Value_Object::Value_Object;
    ValueType type() const override { return ValueType::Int; }
    int32_t* target = nullptr;
    int32_t defaultValue = 0;
    std::vector<std::string> choices;  // labels of 0, 1, 2 ...; empty for a plain integer
};

class ValueFloat : public Value_Object {
public:
    using Value_Object::Value_Object;
    ValueType type() const override { return ValueType::Float; }
    float* target = nullptr;
    float minimum = 0.0f;
    float maximum = 1.0f;
    bool clamp = true;  // false: the editor wraps the value around inside minimum..maximum
    float defaultValue = 0.0f;
    int32_t decimals = 2;  // digits the editor shows after the point
};

enum class Vec2Style : uint8_t { Position = 0, Direction = 1 };

class ValueVec2 : public Value_Object {
public:
    using Value_Object::Value_Object;
    ValueType type() const override { return ValueType::Vec2; }
    float* target = nullptr;  // x, y
    std::array<float, 2> defaultValue{};
    Vec2Style style = Vec2Style::Position;
};

class ValueVec4 : public Value_Object {
public:
    using Value_Object::Value_Object;
    ValueType type() const override { return ValueType::Vec4; }
    float* target = nullptr;  // r, g, b, a (or x, y, z, w)
    std::array<float, 4> defaultValue{};
};

class ValueString : public Value_Object {
public:
    using Value_Object::Value_Object;
    ValueType type() const override { return ValueType::String; }
    std::string* target = nullptr;
    std::string defaultValue;
};

// Holds no value; the project file stores nothing for it.
class ValueMultiInt : public Value_Object {
public:
    using Value_Object::Value_Object;
    ValueType type() const override { return ValueType::MultiInt; }
};

// A node's records in registration order.
using ParameterList = std::vector<std::unique_ptr<Value_Object>>;

// The record named name in a node's list (first match), or null.
const Value_Object* findParameter(const ParameterList& list, std::string_view name);

}  // namespace vorn::engine
