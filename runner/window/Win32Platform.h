// The engine's platform on Windows: the file system through the ANSI
// kernel functions, the command interpreter through the runtime's system().
#pragma once

#include "runner/engine/Platform.h"

namespace lorvan {

class Win32Platform : public Platform {
public:
    bool Enumerate(std::string_view pattern, const std::function<void(const FoundEntry&)>& each) override;
    bool Exists(std::string_view path, uint32_t* attributes = nullptr) override;
    bool ShortPath(std::string_view path, std::string& shortPath) override;
    bool RemoveFile(std::string_view path) override;
    bool MakeDirectory(std::string_view path) override;
    bool RenameFile(std::string_view from, std::string_view to) override;
    std::unique_ptr<PlatformFile> OpenForWriting(std::string_view path) override;
    std::unique_ptr<PlatformFile> CreateForWriting(std::string_view path) override;
    std::unique_ptr<PlatformFile> OpenForReading(std::string_view path) override;
    int System(const std::string& commandLine) override;
    std::string ConvertToOem(std::string_view text) override;
    std::string UpperCase(std::string_view text) override;
    int CompareNoCase(std::string_view a, std::string_view b) override;
    std::tm LocalTime() override;
    bool IsLeadByte(unsigned char byte) const override;
};

}  // namespace lorvan
