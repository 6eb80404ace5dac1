// The lines of files whose commands end in any order, told in file order.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace runner {

// A file's line waits until the line of every file before it has been told.
class FileOrder {
public:
    // The line of file number file (1 on); returns the lines due now, in
    // file order: this one and those that waited for it, or none.
    std::vector<std::string> Add(uint32_t file, std::string line);

private:
    std::map<uint32_t, std::string> waiting;
    uint32_t told = 0;  // files 1 to told have been told
};

}  // namespace runner
