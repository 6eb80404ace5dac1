// What the run engine needs of the operating system, and nothing more.
// Win32Platform (win32/) is the real one; FakePlatform (tests) keeps
// an in-memory file system. Relative paths are relative to the process's
// current directory, which is the working directory.
#pragma once

#include "common/text/CodePage.h"
#include "common/text/FileAttribute.h"
#include "runner/engine/CommandOutput.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace runner {

// One directory entry as the enumeration gives it; its attributes are
// text::FileAttribute bits.
struct FoundEntry {
    uint32_t attributes = 0;
    std::string name;           // the long name, no directory part
    std::string alternateName;  // the 8.3 alias; empty when the name is valid 8.3
    // False when the process's code page cannot hold the name: what name
    // holds is not the entry's name, and nothing may be done under it.
    bool nameKnown = true;
};

// How a command ended.
struct CommandEnd {
    uint32_t id = 0;         // StartCommand's
    int status = 0;          // its exit status
    bool outOfTime = false;  // ended by the time limit
    CommandOutput output;    // what it wrote to its standard output and error
};

// An open file. Closed when destroyed.
class PlatformFile {
public:
    virtual ~PlatformFile() = default;
    virtual bool Write(const void* bytes, size_t count) = 0;
    // Reads up to count bytes; false on a failed read (not at the end).
    virtual bool Read(void* bytes, size_t count, size_t& got) = 0;
    virtual bool SeekToEnd() = 0;
    // Moves to the start and cuts the file there.
    virtual bool Truncate() = 0;
    // Not 0 when the size cannot be told.
    virtual uint64_t Size() = 0;
    // Writes what was written through to the disk, as FlushFileBuffers.
    virtual bool Flush() { return true; }
};

// Its IsLeadByte is that of the ANSI code page.
class Platform : public text::CodePage {
public:
    virtual ~Platform() = default;

    // Calls back once per entry matching the wildcard pattern (which may
    // name a directory before it), in the platform's order; matching also
    // looks at 8.3 aliases. Returns false when nothing matched or the
    // enumeration could not start.
    virtual bool Enumerate(std::string_view pattern, const std::function<void(const FoundEntry&)>& each) = 0;
    // Whether an entry of that plain path exists; its attributes if so.
    virtual bool Exists(std::string_view path, uint32_t* attributes = nullptr) = 0;
    // The 8.3 form of an existing path; false when it cannot be obtained.
    virtual bool ShortPath(std::string_view path, std::string& shortPath) = 0;
    virtual bool RemoveFile(std::string_view path) = 0;
    virtual bool MakeDirectory(std::string_view path) = 0;
    virtual bool RenameFile(std::string_view from, std::string_view to) = 0;
    // A second name for an existing file, as CreateHardLinkA; false where
    // the volume has none (FAT, exFAT) or the name exists.
    virtual bool MakeHardLink(std::string_view existing, std::string_view link) = 0;
    virtual bool SetAttributes(std::string_view path, uint32_t attributes) = 0;
    // Whether two existing paths name the same file (hard links of one).
    virtual bool SameFile(std::string_view a, std::string_view b) = 0;
    // The file of the stand-in journal, in the user's own application data,
    // its directory made where missing; empty when there is no such place.
    virtual std::string JournalPath() = 0;

    // Opens an existing file for writing; others may read it meanwhile.
    virtual std::unique_ptr<PlatformFile> OpenForWriting(std::string_view path) = 0;
    // Creates a new file (archive attribute) for writing; others may read it.
    virtual std::unique_ptr<PlatformFile> CreateForWriting(std::string_view path) = 0;
    // Opens an existing file for reading, shared with nobody.
    virtual std::unique_ptr<PlatformFile> OpenForReading(std::string_view path) = 0;
    // Opens an existing file for reading while others may go on writing it.
    virtual std::unique_ptr<PlatformFile> OpenForSharedReading(std::string_view path) = 0;

    // Starts one command in the current directory and returns without
    // waiting: with a program file, that file with the whole command line
    // (the program's name first), as CreateProcessA; with program empty, the
    // line through the command interpreter, as system() gives it. Its number,
    // by which WaitForCommand tells it; false when it cannot start.
    virtual bool StartCommand(const std::string& program, const std::string& commandLine, uint32_t& id) = 0;
    // Waits until one of the commands started has ended (of those that have,
    // the one started first): how it ended; false when none runs. Not to be
    // called from the wait hook. A command started with standard input empty
    // (it reads end-of-input at once) and its output and errors captured.
    virtual bool WaitForCommand(CommandEnd& end) = 0;
    // The time a command may run from its start, in seconds, for the commands
    // started from then on: one still running then is ended with what it
    // started, and ends out of time. 0: no limit.
    virtual void SetTimeLimit(uint32_t seconds) = 0;
    // Ends every command that runs now with what it started; false when none
    // runs. Called while commands run, from the user interface the wait
    // keeps alive.
    virtual bool EndRunningCommands() = 0;
    // What keeps the user interface alive while WaitForCommand waits, called for
    // the messages that arrive meanwhile; empty: none. A platform whose
    // commands do not wait in the caller's thread has no use for it.
    virtual void SetWaitHook(std::function<void()> hook) { (void)hook; }
    // Whether this Windows starts 16-bit programs itself (32-bit Windows with
    // its DOS machine); 64-bit Windows cannot.
    virtual bool CanStartDosPrograms() const { return false; }
    // The value of an environment variable, as GetEnvironmentVariableA; empty when not set.
    virtual std::string Environment(std::string_view name) = 0;

    // The text as a command line hands it to a DOS program, which reads the
    // OEM (DOS) code page: its OEM bytes where the process's code page is an
    // ANSI one, as CharToOemA; where it is UTF-8, the text itself, which
    // Windows converts for the program. False when a character has no form
    // in the OEM code page (oem then holds the text unconverted).
    virtual bool ConvertToOem(std::string_view text, std::string& oem) = 0;
    // The length in bytes of the text as a DOS program gets it.
    virtual size_t DosLength(std::string_view text) { return text.size(); }
    // What a DOS program wrote (OEM bytes) in the process's code page, for
    // the report, which is written in that code page.
    virtual std::string FromOem(std::string_view bytes) { return std::string(bytes); }
    // The report's code page by its name in HTML ("utf-8"); empty when it has none.
    virtual std::string ReportCharset() { return {}; }
    // Multibyte upper-casing in the ANSI code page, as _mbsupr.
    virtual std::string UpperCase(std::string_view text) = 0;
    // Comparison ignoring case, as _mbsicmp: <0, 0 or >0.
    virtual int CompareNoCase(std::string_view a, std::string_view b) = 0;
    virtual std::tm LocalTime() = 0;
};

// Hands each block of an existing file to each, in order, until the end or
// until each returns false; false when the file cannot be opened. shared:
// opened while others may go on writing it.
bool ReadBlocks(Platform& platform, const std::string& path, bool shared,
                const std::function<bool(std::string_view block)>& each);
// The whole file as far as it can be read; empty when it cannot be opened.
std::string ReadWholeFile(Platform& platform, const std::string& path, bool shared = false);

}  // namespace runner
