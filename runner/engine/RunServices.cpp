#include "runner/engine/RunServices.h"

#include "runner/engine/RunSettings.h"

namespace runner {

bool HistoryTakes(const std::vector<std::string>& entries, std::string_view value) {
    const bool blank = IsBlankEntry(value);
    for (const std::string& entry : entries) {
        if (blank ? IsBlankEntry(entry) : CompareExact(entry, value) == 0) return false;
    }
    return true;
}

}  // namespace runner
