#include "runner/engine/FileOrder.h"

namespace runner {

std::vector<std::string> FileOrder::Add(uint32_t file, std::string line) {
    waiting.emplace(file, std::move(line));
    std::vector<std::string> due;
    for (auto next = waiting.begin(); next != waiting.end() && next->first == told + 1;
         next = waiting.erase(next), ++told)
        due.push_back(std::move(next->second));
    return due;
}

}  // namespace runner
