// Stand-in 8.3 names, for files that a DOS program could not open by the
// names they have: most volumes of today make no 8.3 aliases, and a name
// outside the DOS code page has no form a DOS program can read. A stand-in
// is a second name of the file (a hard link) in its own directory or, where
// the volume has none (FAT, exFAT), the file renamed to it and back; never
// a copy. Each is written to a journal before it is made, so that after a
// crash the next start puts every name back.
#pragma once

#include "runner/engine/FileDiscovery.h"
#include "runner/engine/Platform.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace runner {

class RunServices;
struct RunSettings;

// The stand-in of the n-th file given one (1 on): "LRV00001" and the long
// name's extension where that is 1 to 3 ASCII letters or digits ("LRV00001.TXT").
std::string StandInName(uint32_t n, std::string_view longName);

// The stand-ins of one run, taken away when the object goes: however the
// run ends, none is left.
class StandIns {
public:
    StandIns(const RunSettings& settings, RunServices& ui, Platform& platform);
    ~StandIns() { Remove(); }
    StandIns(const StandIns&) = delete;
    StandIns& operator=(const StandIns&) = delete;

    // Gives every file that needs one a stand-in, its short name from then
    // on. In Test mode the names are only worked out. False when the journal
    // cannot be written: then nothing is made, and the user is told.
    bool Give(std::vector<FileEntry>& files);
    // Puts every name back; what cannot be stays in the journal, and is told.
    void Remove();
    uint32_t Count() const { return static_cast<uint32_t>(made.size()); }

private:
    struct Made {
        // Names in the working directory, the current one during the run: a
        // full path may pass the ANSI functions' limit where a name does not.
        std::string standIn, longName;
        uint32_t attributes = 0;  // the file's own, restored at the end
    };
    bool Needs(const FileEntry& entry);
    // Opens the journal and adds the lines, written through; false (and the
    // user told) when it cannot be.
    bool Journal(const std::string& lines);

    const RunSettings& settings;
    RunServices& ui;
    Platform& platform;
    std::vector<Made> made;
    std::string leftBefore;                     // lines of the journal that an earlier run could not put back
    std::unique_ptr<PlatformFile> journalFile;  // open from the first stand-in to the last one's end
};

// The stand-ins (full paths) that the journal holds: those of a run going on
// in another Lorvan, or left by one that ended without putting them back.
// A listing leaves them out: they are second names of the user's files.
std::vector<std::string> JournaledStandIns(Platform& platform);

// At start: puts back the names a run's stand-ins left behind (a crash, a
// power loss) and tells the user; what cannot be put back stays in the journal.
void RecoverStandIns(RunServices& ui, Platform& platform);

}  // namespace runner
