#include "runner/engine/Platform.h"

namespace runner {

bool ReadBlocks(Platform& platform, const std::string& path, bool shared,
                const std::function<bool(std::string_view block)>& each) {
    std::unique_ptr<PlatformFile> file = shared ? platform.OpenForSharedReading(path) : platform.OpenForReading(path);
    if (!file) return false;
    char block[4096];
    size_t got = 0;
    while (file->Read(block, sizeof block, got) && got > 0 && each({block, got})) {
    }
    return true;
}

std::string ReadWholeFile(Platform& platform, const std::string& path, bool shared) {
    std::string text;
    ReadBlocks(platform, path, shared, [&text](std::string_view block) {
        text.append(block);
        return true;
    });
    return text;
}

}  // namespace runner
