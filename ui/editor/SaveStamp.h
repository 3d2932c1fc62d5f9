// The time stamp in the names of a save's snapshots: year-month-day-hour-
// minute-second, plain numbers ("2024-5-7-9-3-41"). Two saves within one
// second would share it, and the later would overwrite the earlier snapshot:
// a stamp already taken gets "-2", "-3" ... instead.
#pragma once

#include <ctime>
#include <functional>
#include <string>

namespace vorn::ui::editor {

std::string saveStamp(const std::tm& local);

// The first of stamp, stamp + "-2", stamp + "-3" ... that taken refuses.
std::string freeStamp(const std::string& stamp, const std::function<bool(const std::string&)>& taken);

}  // namespace vorn::ui::editor
