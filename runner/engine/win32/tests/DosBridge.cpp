// Lets the Wine tests give Lorvan Debian's dosbox as its DOS emulator.
//   dosbridge <dosbox arguments>
// A Windows program under Wine can start a Linux program but not wait for it,
// so the bridge gives every argument "mount X "<Windows path>"" the path's Unix
// name, writes a shell script that runs dosbox headless and then writes its
// exit status into a file "done", starts the script through /bin/sh and waits
// for that file. It copies dosbox's output to its standard output and exits
// with dosbox's status. Each start works in a scratch folder of its own under
// /tmp, which it removes at the end.
//   DOSBRIDGE_DOSBOX    another dosbox than /usr/bin/dosbox
//   DOSBRIDGE_TIMEOUT   the seconds dosbox may run before it is ended (120)
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text) {
    std::string result(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), int(result.size()), nullptr, nullptr);
    result.pop_back();
    return result;
}

std::wstring Environment(const wchar_t* name, const wchar_t* fallback) {
    wchar_t value[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? value : fallback;
}

// The Unix name Wine gives a Windows path (long names first: a short alias is
// Wine's own), or "" when it has none.
std::string UnixName(const std::wstring& path) {
    using WineUnixName = char*(CDECL*)(const wchar_t*);
    static auto toUnix = reinterpret_cast<WineUnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    if (!toUnix) return "";
    wchar_t full[32768], longName[32768];
    if (!GetFullPathNameW(path.c_str(), 32768, full, nullptr)) return "";
    DWORD length = GetLongPathNameW(full, longName, 32768);
    char* unix = toUnix(length > 0 && length < 32768 ? longName : full);
    if (!unix) return "";
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

// "mount X "<Windows path>"" with the path's Unix name; any other argument as
// it is. False when a path has no Unix name.
bool Translate(const std::wstring& argument, std::string& result) {
    result = Utf8(argument);
    if (argument.size() < 9 || _wcsnicmp(argument.c_str(), L"mount ", 6) != 0 || argument[7] != L' ') return true;
    std::wstring path = argument.substr(8);
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') path = path.substr(1, path.size() - 2);
    std::string unix = UnixName(path);
    result = "mount " + Utf8(argument.substr(6, 1)) + " \"" + unix + "\"";
    return !unix.empty();
}

std::string ShellQuote(const std::string& text) {
    std::string result = "'";
    for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

bool WriteWhole(const std::wstring& path, const std::string& content) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, content.data(), DWORD(content.size()), &written, nullptr) && written == content.size();
    return CloseHandle(file) && ok;
}

std::string ReadWhole(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string content;
    char block[4096];
    DWORD got = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, block, sizeof block, &got, nullptr) && got > 0)
        content.append(block, got);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return content;
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found)) {
        std::wstring name = found.cFileName, path = folder + L"\\" + name;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveTree(path);
        else
            DeleteFileW(path.c_str());
    }
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    RemoveDirectoryW(folder.c_str());
}

// A folder of this start's own: several bridges may run at once.
std::wstring MakeScratch() {
    for (unsigned n = 0;; ++n) {
        std::wstring folder = L"Z:\\tmp\\dosbridge-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(n);
        if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return L"";
    }
}

// The script: dosbox headless, with its own HOME (it writes its configuration
// there), its output into "log", then its status into "done" at once. The
// bridge touches "alive" while it waits; when it has been ended (Lorvan's Stop
// or time limit), a watchdog ends dosbox and the script removes the folder.
std::string Script(const std::string& scratch, const std::string& directory, const std::vector<std::string>& args,
                   int timeout) {
    std::string folder = ShellQuote(scratch), alive = ShellQuote(scratch + "/alive");
    std::string status = ShellQuote(scratch + "/status");
    std::string script = "exec </dev/null >/dev/null 2>&1\n";
    script += "export PATH=/usr/bin:/bin SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy HOME=";
    script += ShellQuote(scratch + "/home") + "\nmkdir \"$HOME\"\n";
    script += "{ cd " + ShellQuote(directory) + " && exec timeout -k 5 " + std::to_string(timeout);
    for (const std::string& arg : args) script.append(" ").append(ShellQuote(arg));
    script += "; } >" + ShellQuote(scratch + "/log") + " 2>&1 &\ndosbox=$!\n";
    script += "stale() { [ $(($(date +%s) - $(stat -c %Y " + alive + " || echo 0))) -ge 10 ]; }\n";
    script += "(while sleep 2; do if stale; then kill $dosbox; exit; fi; done) &\n";
    script += "watchdog=$!\nwait $dosbox\necho $? >" + status + "\nkill $watchdog\n";
    script +=
        "if stale; then rm -rf " + folder + "; else mv " + status + " " + ShellQuote(scratch + "/done") + "; fi\n";
    return script;
}

int Fail(const char* what) {
    std::fprintf(stderr, "dosbridge: %s\n", what);
    return 1;
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    int timeout = _wtoi(Environment(L"DOSBRIDGE_TIMEOUT", L"").c_str());
    if (timeout <= 0) timeout = 120;
    std::vector<std::string> args{Utf8(Environment(L"DOSBRIDGE_DOSBOX", L"/usr/bin/dosbox"))};
    for (int i = 1; i < count; ++i) {
        if (!Translate(argv[i], args.emplace_back())) return Fail("a mounted folder has no Unix name");
    }
    std::wstring scratch = MakeScratch();
    wchar_t directory[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, directory);
    std::string unixScratch = UnixName(scratch), unixDirectory = UnixName(directory);
    if (scratch.empty() || unixScratch.empty() || unixDirectory.empty()) return Fail("no scratch folder under /tmp");
    std::wstring alive = scratch + L"\\alive";
    if (!WriteWhole(alive, "1") ||
        !WriteWhole(scratch + L"\\run.sh", Script(unixScratch, unixDirectory, args, timeout)))
        return RemoveTree(scratch), Fail("cannot write the script");

    // Wine starts a Linux program with no handle to wait on: the file "done" tells the end.
    // The scratch folder's Unix name is ASCII, as the bridge named it.
    std::wstring commandLine = L"/bin/sh " + std::wstring(unixScratch.begin(), unixScratch.end()) + L"/run.sh";
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(L"Z:\\bin\\sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return RemoveTree(scratch), Fail("cannot start /bin/sh");
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    ULONGLONG start = GetTickCount64(), touched = start;
    while (GetFileAttributesW((scratch + L"\\done").c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() > start + (timeout + 10) * 1000ULL)
            return RemoveTree(scratch), Fail("dosbox did not end in time");
        if (GetTickCount64() > touched + 1000) touched = GetTickCount64(), WriteWhole(alive, "1");
        Sleep(20);
    }
    std::string log = ReadWhole(scratch + L"\\log");
    int status = std::atoi(ReadWhole(scratch + L"\\done").c_str());
    RemoveTree(scratch);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), log.data(), DWORD(log.size()), &written, nullptr);
    if (status == 124) Fail("dosbox did not end in time and was ended");
    return status;
}
