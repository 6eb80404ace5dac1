#include "runner/engine/OutputDirectory.h"

#include "runner/engine/FileDiscovery.h"
#include "runner/engine/Platform.h"
#include "runner/engine/RunServices.h"
#include "runner/engine/RunSettings.h"

#include <string>

namespace runner {

namespace {

// Earlier results: hidden files count here, although the listing skips them.
bool IsEarlierResult(const FoundEntry& entry) {
    return (entry.attributes & (text::AttributeDirectory | text::AttributeSystem | text::AttributeOffline)) == 0;
}

std::string InOutput(const RunSettings& settings, std::string_view name) {
    std::string path = settings.output;
    path += '\\';
    path += name;
    return path;
}

// Whether the output directory holds an entry of that very name. Finding one
// by its alias is not enough: on NTFS a result renamed to its long name gets
// a fresh alias, which may be the short name of a file renamed later.
bool HoldsEntryNamed(const RunSettings& settings, std::string_view name, Platform& platform) {
    bool found = false;
    platform.Enumerate(InOutput(settings, name), [&](const FoundEntry& entry) {
        if (platform.CompareNoCase(entry.name, name) == 0) found = true;
    });
    return found;
}

// Earlier results in the output directory, deleted after a question;
// false when the user keeps them or one cannot be deleted.
bool ClearEarlierResults(const RunSettings& settings, RunServices& ui, Platform& platform) {
    // Collected first, so that nothing is deleted under a running enumeration.
    std::vector<std::string> results;
    bool any = platform.Enumerate(InOutput(settings, settings.files), [&](const FoundEntry& entry) {
        if (IsEarlierResult(entry)) results.push_back(entry.name);
    });
    if (!any) return true;
    ui.SetStatus("Checking output directory\r\n");
    for (const std::string& name : results) ui.AppendStatus(name);
    const uint32_t n = static_cast<uint32_t>(results.size());
    if (n > 0 && ui.Ask("File(s) exist in the output directory, see the Status window.\r\n\r\nDelete?", lorvanTitle,
                        Buttons::YesNo, Icon::None) == Answer::No)
        return false;
    ui.AppendStatus("\r\nDeleting files\r\n");
    ui.SetProgressRange(n);
    ui.SetProgressPos(0);
    uint32_t deleted = 0;
    for (const std::string& name : results) {
        std::string path = InOutput(settings, name);
        if (platform.RemoveFile(path)) {
            ui.SetProgressPos(++deleted);
            ui.AppendStatus(path + ": OK");
        } else {
            ui.AppendStatus(path + ": Failed");
        }
    }
    if (deleted < n) {
        ui.Ask("One or more deletes failed, you must delete manually", lorvanTitle, Buttons::Ok, Icon::Exclamation);
        return false;
    }
    return true;
}

}  // namespace

bool PrepareOutputDirectory(const RunSettings& settings, RunServices& ui, Platform& platform) {
    const std::string& output = settings.output;
    // An empty name would look for earlier results (and delete them) in the
    // root of the drive; a "/" leads out of cwd as a backslash does; Windows
    // drops trailing dots and spaces, so "..." names cwd itself.
    const bool dotsOnly = output.find_first_not_of(". ") == std::string::npos;
    if (dotsOnly || HasAnySeparator(output, platform)) {
        ui.Ask(
            "Lorvan supports only a directory directly under the Current Working Directory "
            "as the output files directory",
            lorvanTitle, Buttons::Ok, Icon::None);
        ui.FocusField(Field::Output);
        return false;
    }

    if (!ClearEarlierResults(settings, ui, platform)) return false;

    uint32_t attributes = 0;
    if (!platform.Exists(output, &attributes)) {
        if (!platform.MakeDirectory(output)) {
            ui.Ask("Creating the Output directory failed, you must create it yourself", lorvanTitle, Buttons::Ok,
                   Icon::Exclamation);
            return false;
        }
    } else if (!(attributes & text::AttributeDirectory)) {
        ui.Ask(
            "A file with the same name as the Output directory exists, you must delete that "
            "file to continue",
            lorvanTitle, Buttons::Ok, Icon::Exclamation);
        return false;
    }
    return true;
}

bool ResultFileExists(const RunSettings& settings, std::string_view shortValue, Platform& platform) {
    return HoldsEntryNamed(settings, shortValue, platform);
}

void FinishRenaming(const RunSettings& settings, const std::vector<FileEntry>& foundFiles, uint32_t needRenameCount,
                    RunServices& ui, Platform& platform) {
    if (settings.test) {
        ui.AppendStatus("\r\n" + std::to_string(needRenameCount) + " file(s) need renaming");
        return;
    }
    if (needRenameCount == 0) {
        ui.AppendStatus("\r\nNo files need renaming.");
        return;
    }
    ui.SetProgressRange(needRenameCount);
    ui.SetProgressPos(0);
    ui.AppendStatus("\r\nRenaming files:\r\n");
    uint32_t renamed = 0;
    for (const FileEntry& entry : foundFiles) {
        if (!entry.NeedsRenaming()) continue;
        // Checked at the moment of its rename: an earlier rename may have
        // given another result an alias equal to this short name.
        // Never over another file: a result the long name is taken for stays
        // under its short name (a change of letter case only is this one's own).
        const bool taken = platform.CompareNoCase(entry.shortName, entry.longName) != 0 &&
                           HoldsEntryNamed(settings, entry.longName, platform);
        bool ok = !taken && HoldsEntryNamed(settings, entry.shortName, platform) &&
                  platform.RenameFile(InOutput(settings, entry.shortName), InOutput(settings, entry.longName));
        ui.AppendStatus(entry.shortName + " to " + entry.longName +
                        (ok      ? ": OK"
                         : taken ? ": Failed, a file of that name exists"
                                 : ": Failed"));
        if (ok) ui.SetProgressPos(++renamed);
    }
    ui.AppendStatus("\r\n" + std::to_string(renamed) + " out of " + std::to_string(needRenameCount) +
                    " files renamed.");
}

}  // namespace runner
