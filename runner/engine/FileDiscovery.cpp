#include "runner/engine/FileDiscovery.h"

#include "runner/engine/Platform.h"
#include "runner/engine/RunServices.h"
#include "runner/engine/RunSettings.h"

namespace lorvan {

namespace {

constexpr uint32_t skippedAttributes = AttributeDirectory | AttributeHidden | AttributeSystem | AttributeOffline;

}  // namespace

std::string DisplayLine(const FileEntry& entry) {
    std::string line;
    line.reserve(entry.longName.size() + entry.shortName.size() + 8);
    line += '"';
    line += entry.longName;
    line += "\"  ";
    if (entry.shortName.empty()) {
        line += "(same)";
    } else {
        line += '"';
        line += entry.shortName;
        line += '"';
    }
    return line;
}

FileEntry MakeFileEntry(const FoundEntry& found, Platform& platform) {
    FileEntry entry;
    entry.longName = found.name;
    if (!found.alternateName.empty()) {
        entry.shortName = found.alternateName;
    } else {
        // A name without an alias is valid 8.3 already; only its case may
        // differ from what a DOS program writes.
        std::string upper = platform.UpperCase(found.name);
        if (CompareExact(upper, found.name) != 0) entry.shortName = std::move(upper);
    }
    return entry;
}

bool IsPatternInCwd(const std::string& files, RunServices& ui, Platform& platform) {
    if (!HasAnySeparator(files, platform)) return true;
    ui.Ask("Lorvan supports only the Current Working Directory as the input files directory", lorvanTitle, Buttons::Ok,
           Icon::None);
    ui.FocusControl(IdFilesList);
    return false;
}

void ListFiles(const std::string& files, RunServices& ui, Platform& platform, std::vector<FileEntry>& foundFiles) {
    ui.SetFileCount("0");
    foundFiles.clear();
    if (files.empty()) return;
    if (!IsPatternInCwd(files, ui, platform)) return;
    ui.SetStatus("Finding files.\r\n\r\nLongName  ShortName\r\n");
    uint32_t count = 0;
    platform.Enumerate(files, [&](const FoundEntry& found) {
        if (found.attributes & skippedAttributes) return;
        ++count;
        ui.SetFileCount(count);
        foundFiles.push_back(MakeFileEntry(found, platform));
        ui.AppendStatus(DisplayLine(foundFiles.back()));
    });
    ui.AppendStatus("\r\n" + std::to_string(count) + " file(s)");
}

}  // namespace lorvan
