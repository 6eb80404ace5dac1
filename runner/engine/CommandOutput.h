// What a command writes to its standard output and error, as a run shows it
// beneath the command's line. Memory stays bounded however much a command
// prints: the first lines are kept, the rest only counted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace runner {

class Platform;

class CommandOutput {
public:
    static constexpr size_t shownLines = 40;
    static constexpr size_t keptBytes = 8192;  // a line longer than that is shown cut

    void Append(std::string_view bytes);
    // A line of Lorvan's own, after what was written.
    void AppendLine(std::string_view line);
    bool Empty() const { return kept.empty(); }
    // The lines as the status window shows them, each after a line break and
    // indented: text that is not UTF-8 converted from the DOS code page,
    // control characters as spaces, and one line counting the rest. Empty
    // when the command wrote nothing.
    std::string Shown(Platform& platform) const;

private:
    std::string kept;
    size_t keptLines = 0;
    uint64_t moreLines = 0;
    bool lineStart = true;  // the last byte ended a line
};

}  // namespace runner
