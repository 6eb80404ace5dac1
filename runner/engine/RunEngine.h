// What Run does, and the file listing it starts with.
// The main dialog owns one RunEngine beside its RunSettings record and
// provides the RunServices; the engine keeps the run's own state: busy,
// foundFiles, lastListedPattern and, during a run, the report file.
#pragma once

#include "runner/engine/FileDiscovery.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lorvan {

class Platform;
class RunServices;
struct RunSettings;

class RunEngine {
public:
    RunEngine(RunSettings& settings, RunServices& ui, Platform& platform);

    void RunBatch();
    // Does nothing while a run is going on; the run lists by itself.
    void RefreshFileList();

    bool IsBusy() const { return busy; }
    const std::vector<FileEntry>& FoundFiles() const { return foundFiles; }
    uint32_t FileCount() const { return static_cast<uint32_t>(foundFiles.size()); }
    const std::string& LastListedPattern() const { return lastListedPattern; }

private:
    void ListNow();

    RunSettings& settings;
    RunServices& ui;
    Platform& platform;
    bool busy = false;
    std::vector<FileEntry> foundFiles;
    std::string lastListedPattern;
};

}  // namespace lorvan
