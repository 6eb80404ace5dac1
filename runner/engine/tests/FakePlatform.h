// An in-memory file system and command interpreter for the engine's tests:
// attributes, 8.3 aliases (a file renamed to a name that is not valid 8.3
// gets the first free one, as on NTFS), enumeration in creation order, the
// sharing of open files, injected failures, scripted commands; code page 932.
#pragma once

#include "runner/engine/Platform.h"

#include <map>
#include <utility>
#include <vector>

namespace runner {

struct FakeNode {
    std::string name;
    std::string alias;  // 8.3 alias, empty when the name is valid 8.3
    uint32_t attributes = text::AttributeArchive;
    std::string content;
    FakeNode* parent = nullptr;
    std::vector<std::shared_ptr<FakeNode>> children;  // creation order
    bool failDelete = false, failWrite = false, failShortPath = false;
    FakeNode* linkOf = nullptr;    // a hard link's file: the attributes are that one's
    int writers = 0, readers = 0;  // open handles: writers share reading, a reader shares nothing

    bool IsDirectory() const { return attributes & text::AttributeDirectory; }
};

class FakePlatform : public Platform {
public:
    // cwd like "C:\DATA", made; the ANSI code page is 1252, 932 or UTF-8 (65001).
    explicit FakePlatform(std::string cwd = "C:\\DATA", int codePage = 1252);

    const std::string& Cwd() const { return cwd; }

    // Test set-up; paths relative to cwd, rooted ("\X") or absolute ("C:\X").
    FakeNode& AddFile(std::string_view path, std::string_view content = {}, std::string_view alias = {},
                      uint32_t attributes = text::AttributeArchive);
    FakeNode& AddDirectory(std::string_view path, std::string_view alias = {}) {
        return AddFile(path, {}, alias, text::AttributeDirectory);
    }
    FakeNode* Find(std::string_view path) { return Node(path).get(); }
    bool Has(std::string_view path) { return Find(path) != nullptr; }
    std::string Content(std::string_view path) { return Has(path) ? Find(path)->content : std::string(); }
    std::vector<std::string> Names(std::string_view directory);  // in order
    // The full path ("C:\DATA\X") the path names, existing parts under their own names.
    std::string FullPath(std::string_view path);

    // Gets each command line as its command ends, may change files (or end the command), returns its status.
    std::function<int(const std::string& commandLine)> onCommand;
    std::string printed;     // what the command ending now writes; onCommand may set it
    bool outOfTime = false;  // onCommand sets it for a command the time limit ends
    uint32_t timeLimit = 0;
    std::vector<std::string> commands;
    std::vector<std::string> directStarts;             // the program file of each direct start
    std::function<size_t(size_t running)> endingNext;  // the place of the next to end among those running
    int endedCount = 0;                                // commands ended by EndRunningCommands
    std::map<std::string, std::string> environment;
    std::tm now{};
    bool failMakeDirectory = false;
    bool noHardLinks = false;                                // a FAT or exFAT volume
    std::string journalPath = "C:\\APPDATA\\stand-ins.txt";  // empty: there is no place for it
    std::string charset;                                     // the report's, empty: none
    int fileOperations = 0;  // anything that changes or opens a file, but a read beside writers

    bool Enumerate(std::string_view pattern, const std::function<void(const FoundEntry&)>& each) override;
    bool Exists(std::string_view path, uint32_t* attributes = nullptr) override {
        FakeNode* node = Find(path);
        if (attributes && node) *attributes = node->attributes;
        return node;
    }
    bool ShortPath(std::string_view path, std::string& shortPath) override;
    bool RemoveFile(std::string_view path) override;
    bool MakeDirectory(std::string_view path) override;
    bool RenameFile(std::string_view from, std::string_view to) override;
    bool MakeHardLink(std::string_view existing, std::string_view link) override;
    bool SetAttributes(std::string_view path, uint32_t attributes) override;
    bool SameFile(std::string_view a, std::string_view b) override;
    std::string JournalPath() override;
    std::unique_ptr<PlatformFile> OpenForWriting(std::string_view path) override { return Open(path, true); }
    std::unique_ptr<PlatformFile> CreateForWriting(std::string_view path) override;
    std::unique_ptr<PlatformFile> OpenForReading(std::string_view path) override { return Open(path, false); }
    std::unique_ptr<PlatformFile> OpenForSharedReading(std::string_view path) override {
        return Open(path, false, true);
    }
    bool StartCommand(const std::string& program, const std::string& commandLine, uint32_t& id) override {
        if (!program.empty()) directStarts.push_back(program);
        commands.push_back(commandLine);
        running.push_back({id = ++lastId, commandLine});
        return true;
    }
    bool WaitForCommand(CommandEnd& end) override;
    void SetTimeLimit(uint32_t seconds) override { timeLimit = seconds; }
    bool EndRunningCommands() override {
        if (running.empty()) return false;
        for (Started& command : running) endedCount += !std::exchange(command.ended, true);
        return true;
    }
    std::string Environment(std::string_view name) override {
        return environment.count(std::string(name)) ? environment.at(std::string(name)) : "";
    }
    bool ConvertToOem(std::string_view text, std::string& oem) override;
    std::string FromOem(std::string_view bytes) override;
    std::string ReportCharset() override { return charset; }
    std::string UpperCase(std::string_view text) override;
    int CompareNoCase(std::string_view a, std::string_view b) override;
    std::tm LocalTime() override { return now; }
    bool IsLeadByte(unsigned char byte) const override {
        return codePage == 932 && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
    }
    bool IsUtf8() const override { return codePage == 65001; }

private:
    std::vector<std::string> Split(std::string_view path) const;
    bool MatchesWildcard(std::string_view pattern, std::string_view name) const;
    unsigned char Upper(std::string_view text, size_t at) const;
    // The alias a file renamed to name gets in directory, or none.
    std::string FreeAlias(const FakeNode* directory, const FakeNode* renamed, std::string_view name);
    // The directory holding path's last component, and that component.
    FakeNode* Parent(std::string_view path, std::string& leaf);
    std::shared_ptr<FakeNode> Child(FakeNode* directory, std::string_view name);
    std::shared_ptr<FakeNode> Node(std::string_view path);
    std::unique_ptr<PlatformFile> Open(std::string_view path, bool writer, bool sharingWriters = false);

    struct Started {
        uint32_t id;
        std::string commandLine;
        bool ended = false;
    };
    std::vector<Started> running;  // in the order they started
    uint32_t lastId = 0;
    int codePage;
    std::string cwd;
    std::shared_ptr<FakeNode> root;  // holds the drives
};

}  // namespace runner
