// The engine's platform on Windows: the file system through the ANSI
// kernel functions (names are enumerated wide, so that none comes as a
// look-alike), commands through CreateProcessA, waited for in a way
// that can keep a window alive.
#pragma once

#include "runner/engine/Platform.h"

#include <memory>
#include <vector>

namespace runner {

class Win32Platform : public Platform {
public:
    Win32Platform() = default;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;
    ~Win32Platform() override;

    // Called while a command runs whenever messages wait for the thread (it
    // should dispatch them); without one the wait takes no messages.
    void SetWaitHook(std::function<void()> hook) override { waitHook = std::move(hook); }

    bool Enumerate(std::string_view pattern, const std::function<void(const FoundEntry&)>& each) override;
    bool Exists(std::string_view path, uint32_t* attributes = nullptr) override;
    bool ShortPath(std::string_view path, std::string& shortPath) override;
    bool RemoveFile(std::string_view path) override;
    bool MakeDirectory(std::string_view path) override;
    bool RenameFile(std::string_view from, std::string_view to) override;
    bool MakeHardLink(std::string_view existing, std::string_view link) override;
    bool SetAttributes(std::string_view path, uint32_t attributes) override;
    bool SameFile(std::string_view a, std::string_view b) override;
    std::string JournalPath() override;
    std::unique_ptr<PlatformFile> OpenForWriting(std::string_view path) override;
    std::unique_ptr<PlatformFile> CreateForWriting(std::string_view path) override;
    std::unique_ptr<PlatformFile> OpenForReading(std::string_view path) override;
    std::unique_ptr<PlatformFile> OpenForSharedReading(std::string_view path) override;
    bool StartCommand(const std::string& program, const std::string& commandLine, uint32_t& id) override;
    bool WaitForCommand(CommandEnd& end) override;
    void SetTimeLimit(uint32_t seconds) override { timeLimit = seconds; }
    bool EndRunningCommands() override;
    bool CanStartDosPrograms() const override;
    std::string Environment(std::string_view name) override;
    bool ConvertToOem(std::string_view text, std::string& oem) override;
    size_t DosLength(std::string_view text) override;
    std::string FromOem(std::string_view bytes) override;
    std::string ReportCharset() override;
    std::string UpperCase(std::string_view text) override;
    int CompareNoCase(std::string_view a, std::string_view b) override;
    std::tm LocalTime() override;
    bool IsLeadByte(unsigned char byte) const override;
    bool IsUtf8() const override;

    // The exit status of a command ended by EndRunningCommands.
    static constexpr unsigned endedStatus = 1;

private:
    // CreateProcessA of the line; false when it cannot start.
    bool Start(const char* application, std::string commandLine, uint32_t& id);
    void PrepareConsole();

    struct Capture;  // a command's output, read by a thread of its own
    struct Running {
        uint32_t id;
        void* process;
        void* job;  // the command's own, null where the system gave none
        std::shared_ptr<Capture> capture;
        uint64_t deadline;  // GetTickCount64's, 0: none
    };
    // Ends the command with what it started.
    static void End(const Running& command);
    // The command at that place, ended: out of its list, how it ended.
    void Finish(size_t at, CommandEnd& end);

    std::function<void()> waitHook;
    std::vector<Running> running;  // in the order they started
    // Jobs of ended commands whose children still run: closed with Lorvan,
    // which ends them (kill on close), as after a crash.
    std::vector<void*> lingering;
    void* nullInput = nullptr;  // every command's standard input
    uint32_t timeLimit = 0;
    uint32_t lastId = 0;
    bool consolePrepared = false;
    unsigned long creationFlags = 0;
};

}  // namespace runner
