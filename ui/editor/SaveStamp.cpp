#include "ui/editor/SaveStamp.h"

#include <cstdio>

namespace vorn::ui::editor {

std::string saveStamp(const std::tm& local) {
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%d-%d-%d-%d-%d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                  local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

std::string freeStamp(const std::string& stamp, const std::function<bool(const std::string&)>& taken) {
    if (!taken(stamp)) return stamp;
    for (int n = 2;; ++n) {
        std::string candidate = stamp + "-" + std::to_string(n);
        if (!taken(candidate)) return candidate;
    }
}

}  // namespace vorn::ui::editor
