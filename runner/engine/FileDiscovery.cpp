#include "runner/engine/FileDiscovery.h"

#include "runner/engine/Platform.h"
#include "runner/engine/ReportFile.h"
#include "runner/engine/RunServices.h"
#include "runner/engine/RunSettings.h"
#include "runner/engine/StandIns.h"

namespace runner {

namespace {

constexpr uint32_t skippedAttributes =
    text::AttributeDirectory | text::AttributeHidden | text::AttributeSystem | text::AttributeOffline;

// Whether the entry is the file the path names: by its names first, which
// costs nothing, then, for a path with a directory, as the same file.
bool IsFileOf(const FoundEntry& found, const std::string& path, Platform& platform) {
    const size_t separator = text::FindLastChar(path, "\\/:", platform);
    const std::string_view leaf = std::string_view(path).substr(separator == std::string::npos ? 0 : separator + 1);
    if (platform.CompareNoCase(found.name, leaf) != 0 &&
        (found.alternateName.empty() || platform.CompareNoCase(found.alternateName, leaf) != 0))
        return false;
    return separator == std::string::npos || platform.SameFile(found.name, path);
}

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

bool IsValidShortName(std::string_view name, const text::CodePage& codePage) {
    const size_t dot = text::FindFirstChar(name, ".", codePage);
    const std::string_view base = name.substr(0, dot);
    const std::string_view extension = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || extension.size() > 3) return false;
    if (dot != std::string_view::npos &&
        (extension.empty() || text::FindFirstChar(extension, ".", codePage) != std::string_view::npos))
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (codePage.IsLeadByte(c)) {
            ++i;  // a double-byte character is allowed whatever its second byte
            continue;
        }
        if (c <= ' ' || std::string_view("\"*+,/:;<=>?[\\]|").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    }
    return true;
}

uint32_t CountWithoutShortName(const std::vector<FileEntry>& files) {
    uint32_t count = 0;
    for (const FileEntry& entry : files) count += entry.withoutShortName ? 1 : 0;
    return count;
}

FileEntry MakeFileEntry(const FoundEntry& found, Platform& platform) {
    FileEntry entry;
    entry.longName = found.name;
    if (!found.alternateName.empty()) {
        entry.shortName = found.alternateName;
    } else {
        entry.withoutShortName = !IsValidShortName(found.name, platform);
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
    ui.FocusField(Field::Files);
    return false;
}

void ListFiles(const RunSettings& settings, RunServices& ui, Platform& platform, std::vector<FileEntry>& foundFiles) {
    const std::string& files = settings.files;
    ui.SetFileCount("0");
    foundFiles.clear();
    if (files.empty()) return;
    if (!IsPatternInCwd(files, ui, platform)) return;
    // The report files a run writes are no input: a second run would give
    // the first one's report to the program.
    std::vector<std::string> reportFiles, leftOut;
    if (settings.handling < HandlingNone) {
        reportFiles.push_back(settings.report);
        std::string temporary;
        if (TemporaryReportName(settings, platform, temporary)) reportFiles.push_back(temporary);
    }
    const std::vector<std::string> standIns = JournaledStandIns(platform);
    ui.SetStatus("Finding files.\r\n\r\nLongName  ShortName\r\n");
    uint32_t count = 0, unknown = 0;
    platform.Enumerate(files, [&](const FoundEntry& found) {
        if (found.attributes & skippedAttributes) return;
        if (!found.nameKnown) {  // never run, never renamed: its name would be a look-alike
            ++unknown;
            return;
        }
        if (!standIns.empty()) {
            const std::string path = settings.cwd + (settings.cwd.ends_with('\\') ? "" : "\\") + found.name;
            for (const std::string& standIn : standIns)
                if (platform.CompareNoCase(path, standIn) == 0) return;
        }
        for (const std::string& path : reportFiles)
            if (IsFileOf(found, path, platform)) return leftOut.push_back(found.name);
        ++count;
        ui.SetFileCount(count);
        foundFiles.push_back(MakeFileEntry(found, platform));
        ui.AppendStatus(DisplayLine(foundFiles.back()));
    });
    ui.AppendStatus("\r\n" + std::to_string(count) + " file(s)");
    if (!leftOut.empty())
        ui.AppendStatus("Left out: \"" + leftOut[0] + (leftOut.size() > 1 ? "\" and \"" + leftOut[1] : "") +
                        (leftOut.size() > 1 ? "\", Lorvan's report files." : "\", Lorvan's report file."));
    if (unknown > 0)
        ui.AppendStatus(std::to_string(unknown) +
                        " more file(s) left alone: this version of Windows cannot give Lorvan their names "
                        "(Windows 10 version 1903 and later can).");
    if (const uint32_t without = CountWithoutShortName(foundFiles)) {
        const bool one = without == 1;
        ui.AppendStatus("\r\n" + std::to_string(without) + (one ? " of them has" : " of them have") +
                        " no 8.3 name: the DOS program gets " + (one ? "its long name." : "their long names.") +
                        "\r\nRename " + (one ? "it" : "them") +
                        ", or have an administrator turn on 8.3 names for the volume (fsutil 8dot3name); only "
                        "files made after that get one.");
    }
}

}  // namespace runner
