// File discovery and listing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace text {
class CodePage;
}

namespace runner {

class Platform;
class RunServices;
struct FoundEntry;
struct RunSettings;

struct FileEntry {
    std::string shortName;  // empty when the 8.3 name is the long name itself
    std::string longName;
    // The long name is no valid 8.3 name and the volume gave it no alias
    // (8.3 names turned off): a DOS program gets the long name.
    bool withoutShortName = false;

    bool NeedsRenaming() const { return !shortName.empty(); }
    const std::string& EffectiveShortName() const { return shortName.empty() ? longName : shortName; }
};

// "\"long\"  \"short\"" or "\"long\"  (same)".
std::string DisplayLine(const FileEntry& entry);

// Whether a name is a valid 8.3 name: one to eight characters, optionally a
// dot and one to three more, none of them a space or one of "+,;=[]" or
// those no file name may hold.
bool IsValidShortName(std::string_view name, const text::CodePage& codePage);
uint32_t CountWithoutShortName(const std::vector<FileEntry>& files);

// The entry the listing makes of one enumerated directory entry.
FileEntry MakeFileEntry(const FoundEntry& found, Platform& platform);

// Refuses a pattern that reaches outside the working directory, telling the
// user and moving the focus to the pattern field; false when refused.
bool IsPatternInCwd(const std::string& files, RunServices& ui, Platform& platform);

// Lists the files of the working directory matching the settings' pattern
// into foundFiles (emptied first), with the "# of files" count and the
// status listing of RefreshFileList. In a report mode the report file and
// the temporary report file are left out, and a line says so.
void ListFiles(const RunSettings& settings, RunServices& ui, Platform& platform, std::vector<FileEntry>& foundFiles);

}  // namespace runner
