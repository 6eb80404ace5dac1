// Output directory and renaming.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace runner {

class Platform;
class RunServices;
struct FileEntry;
struct RunSettings;

// False (refused) after telling the user why.
bool PrepareOutputDirectory(const RunSettings& settings, RunServices& ui, Platform& platform);

bool ResultFileExists(const RunSettings& settings, std::string_view shortValue, Platform& platform);

void FinishRenaming(const RunSettings& settings, const std::vector<FileEntry>& foundFiles, uint32_t needRenameCount,
                    RunServices& ui, Platform& platform);

}  // namespace runner
