#include "runner/engine/CommandOutput.h"

#include "runner/engine/Platform.h"
#include "runner/engine/ReportFile.h"

namespace runner {

void CommandOutput::AppendLine(std::string_view line) {
    if (!lineStart) Append("\n");
    Append(line);
    Append("\n");
}

void CommandOutput::Append(std::string_view bytes) {
    for (char c : bytes) {
        if (keptLines < shownLines && kept.size() < keptBytes) {
            kept += c;
            keptLines += c == '\n';
        } else {
            moreLines += lineStart;  // the rest of a cut line is no line of its own
        }
        lineStart = c == '\n';
    }
}

std::string CommandOutput::Shown(Platform& platform) const {
    std::string shown;
    for (size_t at = 0; at < kept.size();) {
        size_t end = kept.find('\n', at);
        if (end == std::string::npos) end = kept.size();
        std::string line = kept.substr(at, end - at);
        at = end + 1;
        while (!line.empty() && line.back() == '\r') line.pop_back();  // a CR LF written in text mode: CR CR LF
        if (!IsAsciiOrUtf8(line)) line = platform.FromOem(line);
        for (char& c : line)
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t') c = ' ';
        shown += "\r\n    " + line;
    }
    if (moreLines > 0) shown += "\r\n    (" + std::to_string(moreLines) + " more line(s) not shown)";
    return shown;
}

}  // namespace runner
