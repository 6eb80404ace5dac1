#include "runner/engine/win32/Win32Platform.h"
#include "runner/engine/win32/WindowsPlatform.h"

#include "common/text/win32/Text.h"

#include <windows.h>

#include <algorithm>
#include <ctime>
#include <mutex>
#include <thread>

namespace runner {

namespace {

class Win32File : public PlatformFile {
public:
    explicit Win32File(HANDLE handle) : handle(handle) {}
    ~Win32File() override { CloseHandle(handle); }

    bool Write(const void* bytes, size_t count) override {
        DWORD written = 0;
        return WriteFile(handle, bytes, static_cast<DWORD>(count), &written, nullptr) && written == count;
    }
    bool Read(void* bytes, size_t count, size_t& got) override {
        DWORD read = 0;
        BOOL ok = ReadFile(handle, bytes, static_cast<DWORD>(count), &read, nullptr);
        got = read;
        return ok;
    }
    bool SeekToEnd() override { return SetFilePointer(handle, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER; }
    bool Truncate() override {
        return SetFilePointer(handle, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER && SetEndOfFile(handle);
    }
    bool Flush() override { return FlushFileBuffers(handle); }
    uint64_t Size() override {
        // A size that cannot be told is not 0: an empty report is deleted and
        // an empty temporary report is skipped, so 0 here would lose them.
        LARGE_INTEGER size;
        return GetFileSizeEx(handle, &size) ? uint64_t(size.QuadPart) : UINT64_MAX;
    }

private:
    HANDLE handle;
};

// The OEM form of the text; false when a character has none there.
bool NarrowToOem(std::wstring_view wide, std::string& oem) {
    return text::NarrowTo(text::OemCodePage(), wide, oem);
}

std::unique_ptr<PlatformFile> Open(std::string_view path, DWORD access, DWORD share, DWORD disposition,
                                   DWORD attributes) {
    HANDLE handle = CreateFileA(std::string(path).c_str(), access, share, nullptr, disposition, attributes, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32File>(handle);
}

}  // namespace

bool Win32Platform::Enumerate(std::string_view pattern, const std::function<void(const FoundEntry&)>& each) {
    FoundEntry entry;
    return text::FindNames(pattern, [&](const text::FoundName& found) {
        entry.attributes = found.attributes;
        entry.name = found.name;
        entry.alternateName = found.alternateName;
        entry.nameKnown = found.nameKnown;
        each(entry);
    });
}

bool Win32Platform::Exists(std::string_view path, uint32_t* attributes) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(std::string(path).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    if (attributes) *attributes = data.dwFileAttributes;
    return true;
}

bool Win32Platform::ShortPath(std::string_view path, std::string& shortPath) {
    std::string longPath(path);
    std::string buffer(MAX_PATH, '\0');
    DWORD length = GetShortPathNameA(longPath.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length >= buffer.size()) {  // too small: length is the size needed
        buffer.resize(length);
        length = GetShortPathNameA(longPath.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    }
    if (length == 0 || length >= buffer.size()) return false;
    buffer.resize(length);
    shortPath = std::move(buffer);
    return true;
}

bool Win32Platform::RemoveFile(std::string_view path) {
    return DeleteFileA(std::string(path).c_str());
}

bool Win32Platform::MakeDirectory(std::string_view path) {
    return CreateDirectoryA(std::string(path).c_str(), nullptr);
}

bool Win32Platform::RenameFile(std::string_view from, std::string_view to) {
    const std::string source(from), target(to);
    if (source == target || CompareNoCase(source, target) != 0) return MoveFileA(source.c_str(), target.c_str());
    // A change of letter case only (README.TXT to readme.txt): Wine reports
    // success and keeps the old name, so go through a name of our own.
    const std::string step = target + ".~lorvan";
    if (!MoveFileA(source.c_str(), step.c_str())) return false;
    if (MoveFileA(step.c_str(), target.c_str())) return true;
    MoveFileA(step.c_str(), source.c_str());
    return false;
}

bool Win32Platform::MakeHardLink(std::string_view existing, std::string_view link) {
    return CreateHardLinkA(std::string(link).c_str(), std::string(existing).c_str(), nullptr);
}

bool Win32Platform::SetAttributes(std::string_view path, uint32_t attributes) {
    return SetFileAttributesA(std::string(path).c_str(), attributes);
}

bool Win32Platform::SameFile(std::string_view a, std::string_view b) {
    // The volume and the file's index: one file, whichever of its names.
    auto identity = [](std::string_view path, BY_HANDLE_FILE_INFORMATION& info) {
        HANDLE file = CreateFileA(std::string(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        const bool got = GetFileInformationByHandle(file, &info);
        CloseHandle(file);
        return got;
    };
    BY_HANDLE_FILE_INFORMATION x{}, y{};
    return identity(a, x) && identity(b, y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

std::string Win32Platform::JournalPath() {
    // The user's own local application data, as the registry key is the user's own.
    std::string directory = Environment("LOCALAPPDATA");
    if (directory.empty()) directory = Environment("APPDATA");
    if (directory.empty()) return {};
    for (const char* part : {"\\Veltmarkstede", "\\Lorvan"}) {
        directory += part;
        CreateDirectoryA(directory.c_str(), nullptr);
    }
    return directory + "\\stand-ins.txt";
}

std::unique_ptr<PlatformFile> Win32Platform::OpenForWriting(std::string_view path) {
    return Open(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
}

std::unique_ptr<PlatformFile> Win32Platform::CreateForWriting(std::string_view path) {
    return Open(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW, FILE_ATTRIBUTE_ARCHIVE);
}

std::unique_ptr<PlatformFile> Win32Platform::OpenForReading(std::string_view path) {
    return Open(path, GENERIC_READ, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
}

std::unique_ptr<PlatformFile> Win32Platform::OpenForSharedReading(std::string_view path) {
    return Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
}

// What a command writes to its output and error pipe, read as it comes by a
// thread of its own, so that the command never blocks on a full pipe.
struct Win32Platform::Capture {
    std::mutex mutex;
    CommandOutput output;
    uint64_t bytes = 0;                                         // read so far
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);  // the pipe closed: all is read
    ~Capture() { CloseHandle(done); }

    static void Read(std::shared_ptr<Capture> capture, HANDLE pipe) {
        char block[4096];
        DWORD got = 0;
        while (ReadFile(pipe, block, sizeof block, &got, nullptr) && got > 0) {
            std::lock_guard<std::mutex> lock(capture->mutex);
            capture->output.Append({block, got});
            capture->bytes += got;
        }
        CloseHandle(pipe);
        SetEvent(capture->done);
    }
};

Win32Platform::~Win32Platform() {
    for (const Running& command : running) {
        CloseHandle(command.process);
        if (command.job) CloseHandle(command.job);  // kill on close: the command ends with Lorvan
    }
    for (void* job : lingering) CloseHandle(job);
    if (nullInput) CloseHandle(nullInput);
}

bool Win32Platform::StartCommand(const std::string& program, const std::string& commandLine, uint32_t& id) {
    if (!program.empty()) return Start(program.c_str(), commandLine, id);
    // The line the runtime's system() gives the interpreter, "%COMSPEC% /c
    // line", so that the interpreter reads it as before; "/v:off" keeps a
    // "!" in a name plain where the user's settings turn delayed expansion on.
    const std::string comspec = Environment("COMSPEC");
    if (comspec.empty()) return Start(nullptr, "cmd.exe /v:off /c " + commandLine, id);
    return Start(comspec.c_str(), comspec + " /v:off /c " + commandLine, id);
}

void Win32Platform::PrepareConsole() {
    // From a program without a console, every console program started gets a
    // window of its own. One hidden console, made once and inherited by every
    // command, shows none and costs least per command (their input and
    // output are a start's own: see Start).
    if (consolePrepared) return;
    consolePrepared = true;
    const DWORD ids[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    HANDLE given[3];
    for (int i = 0; i < 3; ++i) given[i] = GetStdHandle(ids[i]);
    if (!AllocConsole()) return;  // this process has a console, which the commands share
    for (int i = 0; i < 3; ++i)
        if (given[i] && given[i] != INVALID_HANDLE_VALUE) SetStdHandle(ids[i], given[i]);
    HWND window = GetConsoleWindow();
    if (window) ShowWindow(window, SW_HIDE);
    if (window && IsWindowVisible(window)) {
        // A console host that cannot be hidden: each command gets an invisible one instead.
        FreeConsole();
        creationFlags = CREATE_NO_WINDOW;
    }
}

bool Win32Platform::Start(const char* application, std::string commandLine, uint32_t& id) {
    PrepareConsole();
    // Standard input is empty: a question reads end-of-input at once instead
    // of waiting behind a window nobody sees. Output and errors go into one
    // pipe, whose writing end only this command inherits.
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    if (!nullInput)
        nullInput = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0,
                                nullptr);
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, nullptr, 0)) return false;
    SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullInput;
    startup.hStdOutput = startup.hStdError = writeEnd;
    PROCESS_INFORMATION process{};
    // Suspended until it is in its job, so that ending the command also ends
    // what it starts (the interpreter's program).
    const bool started = CreateProcessA(application, commandLine.data(), nullptr, nullptr, TRUE,
                                        creationFlags | CREATE_SUSPENDED, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);  // the command's own is all there is now: the pipe closes when it ends
    if (!started) {
        CloseHandle(readEnd);
        return false;
    }
    // Its own job, ended with Lorvan however Lorvan ends (kill on close).
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job && !(SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits) &&
                 AssignProcessToJobObject(job, process.hProcess))) {
        CloseHandle(job);
        job = nullptr;
    }
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    auto capture = std::make_shared<Capture>();
    std::thread(Capture::Read, capture, readEnd).detach();
    id = ++lastId;
    running.push_back(
        {id, process.hProcess, job, std::move(capture), timeLimit ? GetTickCount64() + uint64_t(timeLimit) * 1000 : 0});
    return true;
}

void Win32Platform::End(const Running& command) {
    if (!command.job || !TerminateJobObject(command.job, endedStatus)) TerminateProcess(command.process, endedStatus);
}

void Win32Platform::Finish(size_t at, CommandEnd& end) {
    const Running command = running[at];
    running.erase(running.begin() + static_cast<std::ptrdiff_t>(at));
    DWORD code = 0;
    GetExitCodeProcess(command.process, &code);
    CloseHandle(command.process);
    end.id = command.id;
    end.status = static_cast<int>(code);
    // What is still in the pipe is read to its end; a child the command left
    // running may hold the pipe open: once nothing more comes for a moment,
    // or after ten seconds of a child that goes on writing, what came is taken.
    uint64_t seen = UINT64_MAX;
    for (int round = 0;; ++round) {
        const bool done = WaitForSingleObject(command.capture->done, 100) == WAIT_OBJECT_0;
        std::lock_guard<std::mutex> lock(command.capture->mutex);
        if (done || command.capture->bytes == seen || round == 100) {
            end.output = command.capture->output;
            break;
        }
        seen = command.capture->bytes;
    }
    if (!command.job) return;
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    if (QueryInformationJobObject(command.job, JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                                  nullptr) &&
        accounting.ActiveProcesses > 0)
        lingering.push_back(command.job);
    else
        CloseHandle(command.job);
}

bool Win32Platform::WaitForCommand(CommandEnd& end) {
    if (running.empty()) return false;
    // A wait takes at most MAXIMUM_WAIT_OBJECTS handles, one fewer beside the
    // messages: those past it are looked at between short waits.
    std::vector<HANDLE> handles;
    for (const Running& command : running) handles.push_back(command.process);
    const DWORD limit = waitHook ? MAXIMUM_WAIT_OBJECTS - 1 : MAXIMUM_WAIT_OBJECTS;
    const DWORD waited = std::min<DWORD>(static_cast<DWORD>(handles.size()), limit);
    size_t ended = handles.size();
    while (ended == handles.size()) {
        // Until the first time limit comes, or a short wait for those past the limit.
        uint64_t deadline = UINT64_MAX;
        for (const Running& command : running)
            if (command.deadline) deadline = std::min(deadline, command.deadline);
        const uint64_t now = GetTickCount64();
        DWORD timeout = waited < handles.size() ? 10 : INFINITE;
        if (deadline != UINT64_MAX)
            timeout = static_cast<DWORD>(std::min<uint64_t>(timeout, deadline > now ? deadline - now : 0));
        const DWORD result = waitHook ? MsgWaitForMultipleObjects(waited, handles.data(), FALSE, timeout, QS_ALLINPUT)
                                      : WaitForMultipleObjects(waited, handles.data(), FALSE, timeout);
        if (result < WAIT_OBJECT_0 + waited) {
            ended = result - WAIT_OBJECT_0;
        } else if (result == WAIT_OBJECT_0 + waited && waitHook) {
            waitHook();  // messages are dispatched meanwhile: the window repaints and answers
        } else if (result == WAIT_TIMEOUT) {
            for (size_t i = waited; i < handles.size() && ended == handles.size(); ++i)
                if (WaitForSingleObject(handles[i], 0) == WAIT_OBJECT_0) ended = i;
            // The first command still running at its limit is ended, with what it started.
            for (size_t i = 0; i < running.size() && ended == handles.size(); ++i) {
                if (!running[i].deadline || running[i].deadline > GetTickCount64()) continue;
                End(running[i]);
                WaitForSingleObject(running[i].process, 10000);
                Finish(i, end);
                end.outOfTime = true;
                return true;
            }
        } else {
            // The wait itself failed: the oldest is waited for plainly.
            WaitForSingleObject(handles[0], INFINITE);
            ended = 0;
        }
    }
    // Of those that have ended, the first started: the wait gives the lowest.
    for (size_t i = 0; i < ended; ++i)
        if (WaitForSingleObject(handles[i], 0) == WAIT_OBJECT_0) {
            ended = i;
            break;
        }
    Finish(ended, end);
    return true;
}

bool Win32Platform::EndRunningCommands() {
    if (running.empty()) return false;
    for (const Running& command : running) End(command);
    return true;
}

bool Win32Platform::CanStartDosPrograms() const {
#ifdef _WIN64
    return false;  // 64-bit Windows has no DOS machine
#else
    BOOL wow64 = FALSE;  // a 32-bit program on 64-bit Windows: none either
    return IsWow64Process(GetCurrentProcess(), &wow64) && !wow64;
#endif
}

std::string Win32Platform::Environment(std::string_view name) {
    const std::string key(name);
    std::string value(256, '\0');
    DWORD length = GetEnvironmentVariableA(key.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length >= value.size()) {  // too small: length is the size needed
        value.resize(length);
        length = GetEnvironmentVariableA(key.c_str(), value.data(), static_cast<DWORD>(value.size()));
    }
    if (length >= value.size()) return {};
    value.resize(length);
    return value;
}

bool Win32Platform::ConvertToOem(std::string_view text, std::string& oem) {
    std::wstring wide;
    std::string bytes;
    const bool readable = text::Widen(text, wide) && NarrowToOem(wide, bytes);
    // A command line of a UTF-8 process carries characters, which Windows
    // converts for the program: OEM bytes there would not be read as such.
    oem = readable && !text::ProcessIsUtf8() ? std::move(bytes) : std::string(text);
    return readable;
}

size_t Win32Platform::DosLength(std::string_view text) {
    if (!text::ProcessIsUtf8()) return text.size();
    std::string bytes;
    NarrowToOem(text::Widen(text), bytes);
    return bytes.size();
}

std::string Win32Platform::FromOem(std::string_view bytes) {
    // An ANSI code page: copied as it is, as a DOS program's bytes always were.
    if (!text::ProcessIsUtf8() || bytes.empty()) return std::string(bytes);
    const UINT oem = text::OemCodePage();
    const int size = static_cast<int>(bytes.size());
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(oem, 0, bytes.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(oem, 0, bytes.data(), size, wide.data(), static_cast<int>(wide.size()));
    return text::Narrow(wide);
}

std::string Win32Platform::ReportCharset() {
    switch (GetACP()) {
        case CP_UTF8:
            return "utf-8";
        case 932:
            return "shift_jis";
        case 936:
            return "gbk";
        case 949:
            return "euc-kr";
        case 950:
            return "big5";
        default:
            return GetACP() == 874 || (GetACP() >= 1250 && GetACP() <= 1258) ? "windows-" + std::to_string(GetACP())
                                                                             : std::string();
    }
}

std::string Win32Platform::UpperCase(std::string_view text) {
    // Through UTF-16: the A form would cut a UTF-8 character whose capital is
    // of another length. Text that is not valid stays as it is.
    std::wstring wide;
    if (!text::Widen(text, wide)) return std::string(text);
    if (!wide.empty()) CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    std::string out;
    return text::Narrow(wide, out) ? out : std::string(text);
}

int Win32Platform::CompareNoCase(std::string_view a, std::string_view b) {
    // As _mbsicmp in the process's code page; the runtime's own starts in the
    // "C" multibyte code page here and would not fold letters above 127.
    const std::wstring wa = text::Widen(a), wb = text::Widen(b);
    const int order =
        CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(), static_cast<int>(wb.size()), TRUE);
    return order == CSTR_EQUAL ? 0 : order == CSTR_LESS_THAN ? -1 : 1;
}

std::tm Win32Platform::LocalTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    return local;
}

bool Win32Platform::IsUtf8() const {
    return text::ProcessIsUtf8();
}

bool Win32Platform::IsLeadByte(unsigned char byte) const {
    return IsDBCSLeadByteEx(CP_ACP, byte);
}

std::unique_ptr<Platform> NewWindowsPlatform() {
    return std::make_unique<Win32Platform>();
}

}  // namespace runner
