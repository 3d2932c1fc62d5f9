#include "engine/Value.h"

namespace vorn::engine {

const Value_Object* findParameter(const ParameterList& list, std::string_view name) {
    for (const auto& record : list)
        if (record->name == name) return record.get();
    return nullptr;
}

}  // namespace vorn::engine
