#include "runner/engine/ProgramStart.h"

#include "common/text/AsciiCase.h"
#include "runner/engine/Platform.h"

#include <optional>
#include <vector>

namespace runner {

namespace {

// Redirection, pipes, command chaining, escapes, blocks, variables (with
// delayed expansion "!" too) and quoting. Control characters end a line.
constexpr std::string_view interpreterCharacters = "<>|&^()%!\"";

// What the interpreter runs itself, whatever files lie around.
constexpr std::string_view builtInCommands[] = {
    "ASSOC",  "BREAK", "CALL",     "CD",    "CHCP",  "CHDIR",  "CLS",   "COLOR", "COPY", "DATE",   "DEL",
    "DIR",    "ECHO",  "ENDLOCAL", "ERASE", "EXIT",  "FOR",    "FTYPE", "GOTO",  "IF",   "MD",     "MKDIR",
    "MKLINK", "MOVE",  "PATH",     "PAUSE", "POPD",  "PROMPT", "PUSHD", "RD",    "REM",  "REN",    "RENAME",
    "RMDIR",  "SET",   "SETLOCAL", "SHIFT", "START", "TIME",   "TITLE", "TYPE",  "VER",  "VERIFY", "VOL",
};

std::vector<std::string> SplitList(std::string_view list) {
    std::vector<std::string> parts;
    while (!list.empty()) {
        size_t semicolon = list.find(';');
        std::string part(list.substr(0, semicolon));
        if (part.size() >= 2 && part.front() == '"' && part.back() == '"') part = part.substr(1, part.size() - 2);
        if (!part.empty()) parts.push_back(std::move(part));
        list.remove_prefix(semicolon == std::string_view::npos ? list.size() : semicolon + 1);
    }
    return parts;
}

bool IsFile(std::string_view path, Platform& platform) {
    uint32_t attributes = 0;
    return platform.Exists(path, &attributes) && !(attributes & text::AttributeDirectory);
}

// The command word as the interpreter looks it up: the name, and the
// directories it looks in (the working directory as an empty one).
struct ProgramName {
    std::string_view name;
    bool hasExtension = false;
    std::vector<std::string> directories;
};

// Nothing when the interpreter reads the text otherwise: it ends the
// command word at a delimiter, "@" silences it, a wildcard would match
// more than one file, a built-in command is its own.
std::optional<ProgramName> ParseProgramName(std::string_view program, Platform& platform) {
    if (program.empty() || program.find_first_of(" \t,;=/+[]@*?") != std::string_view::npos) return {};
    for (char c : program)
        if (static_cast<unsigned char>(c) < 0x20 || interpreterCharacters.find(c) != std::string_view::npos) return {};
    const size_t nameStart = [&] {
        size_t separator = text::FindLastChar(program, "\\:", platform);
        return separator == std::string_view::npos ? 0 : separator + 1;
    }();
    ProgramName parsed{program.substr(nameStart)};
    if (parsed.name.empty() || parsed.name == "." || parsed.name == "..") return {};
    const size_t dot = parsed.name.rfind('.');
    parsed.hasExtension = dot != std::string_view::npos;
    if (nameStart > 0) {
        parsed.directories.emplace_back(program.substr(0, nameStart));
        return parsed;
    }
    const std::string_view word = parsed.name.substr(0, dot);
    for (std::string_view command : builtInCommands)
        if (text::EqualsIgnoringAsciiCase(word, command)) return {};
    parsed.directories.emplace_back();  // the working directory
    for (std::string& directory : SplitList(platform.Environment("PATH"))) {
        if (directory.back() != '\\' && directory.back() != ':') directory += '\\';
        parsed.directories.push_back(std::move(directory));
    }
    return parsed;
}

// No problem: the file a start runs, told where asked for.
std::string Found(const std::string& path, std::string* found) {
    if (found) *found = path;
    return {};
}

}  // namespace

std::string ResolveProgram(std::string_view program, Platform& platform) {
    const std::vector<std::string> extensions = SplitList(platform.Environment("PATHEXT"));
    if (extensions.empty()) return {};  // the interpreter's own default list is not known
    const std::optional<ProgramName> parsed = ParseProgramName(program, platform);
    if (!parsed) return {};
    for (const std::string& directory : parsed->directories) {
        const std::string path = directory + std::string(parsed->name);
        if (parsed->hasExtension && IsFile(path, platform)) return path;
        // Without its extension, or with one that is not there: the
        // interpreter tries PATHEXT's. With an extension, such a find is one
        // where interpreters differ: leave the name to the interpreter.
        for (const std::string& extension : extensions)
            if (IsFile(path + extension, platform)) return parsed->hasExtension ? std::string() : path + extension;
    }
    return {};
}

std::string ProgramProblem(std::string_view program, Platform& platform, std::string* found) {
    const std::optional<ProgramName> parsed = ParseProgramName(program, platform);
    if (!parsed) return {};
    std::string list = platform.Environment("PATHEXT");
    std::vector<std::string> extensions = SplitList(list);
    if (extensions.empty()) extensions = SplitList(list = ".COM;.EXE;.BAT;.CMD");  // the interpreter's own
    bool folder = false, other = false;
    std::string looked;
    for (const std::string& directory : parsed->directories) {
        const std::string path = directory + std::string(parsed->name);
        uint32_t attributes = 0;
        if (platform.Exists(path, &attributes) && (attributes & text::AttributeDirectory)) {
            folder = true;
        } else if (platform.Exists(path) && parsed->hasExtension) {  // without one, only name plus PATHEXT's
            const std::string_view extension = parsed->name.substr(parsed->name.rfind('.'));
            for (const std::string& known : extensions)
                if (text::EqualsIgnoringAsciiCase(extension, known)) return Found(path, found);
            other = true;
        }
        for (const std::string& extension : extensions)
            if (IsFile(path + extension, platform)) return Found(path + extension, found);
        const bool slash = !directory.empty() && directory.back() == '\\';
        looked +=
            "\r\n" + (directory.empty() ? "the working directory" : directory.substr(0, directory.size() - slash));
    }
    const std::string name = "\"" + std::string(program) + "\"";
    if (other)
        return name +
               " is no program: Windows would open it with the program its extension belongs to. Programs end in " +
               list + ".";
    if (folder) return name + " is a folder, not a program.";
    return "The program " + name + " was not found. Lorvan looked for it, also with the extensions " + list +
           ", in:\r\n" + looked;
}

ProgramKind KindOfProgram(std::string_view header, std::string_view name) {
    if (header.starts_with("MZ")) {
        // e_lfanew, at 3Ch, leads to the header of a newer format, if any.
        const uint32_t next = header.size() < 0x40
                                  ? 0
                                  : uint32_t(uint8_t(header[0x3C])) | uint32_t(uint8_t(header[0x3D])) << 8 |
                                        uint32_t(uint8_t(header[0x3E])) << 16 | uint32_t(uint8_t(header[0x3F])) << 24;
        const std::string_view signature = next >= 0x40 && next < header.size() ? header.substr(next, 4) : "";
        if (signature == std::string_view("PE\0\0", 4)) return ProgramKind::Windows;
        if (signature.starts_with("NE")) return ProgramKind::Windows16;
        return ProgramKind::Dos;  // a plain MZ program, or a DOS extender's LE or LX one
    }
    const bool com = name.size() >= 4 && text::EqualsIgnoringAsciiCase(name.substr(name.size() - 4), ".COM");
    return com ? ProgramKind::Dos : ProgramKind::Other;  // a .COM has no header at all
}

ProgramKind ReadProgramKind(const std::string& path, Platform& platform) {
    std::string header;
    ReadBlocks(platform, path, true, [&header](std::string_view block) {
        header.append(block);
        return header.size() < 65536;
    });
    return KindOfProgram(header, path);
}

std::string StartProblem(std::string_view program, const std::string& path, ProgramKind kind, Platform& platform) {
    if (platform.CanStartDosPrograms() || (kind != ProgramKind::Dos && kind != ProgramKind::Windows16)) return {};
    std::string named(1, '"');
    named.append(program).append("\" (").append(path).append(")");
    if (kind == ProgramKind::Windows16) return named + " is a 16-bit Windows program, which this Windows cannot start.";
    return named +
           " is a 16-bit DOS program, and this Windows cannot start DOS programs. Choose a DOS emulator to run it "
           "through (MS-DOS Player, DOSBox-X or DOSBox) in Options > DOS emulator.";
}

bool IsDirectlyStartable(std::string_view resolved) {
    if (resolved.size() < 4) return false;
    const std::string_view extension = resolved.substr(resolved.size() - 4);
    return text::EqualsIgnoringAsciiCase(extension, ".EXE") || text::EqualsIgnoringAsciiCase(extension, ".COM");
}

bool InterpreterLeavesUnchanged(std::string_view text) {
    // A quote alone changes nothing the program gets: the interpreter
    // passes it on as it is.
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 ||
            (c != '"' && interpreterCharacters.find(c) != std::string_view::npos))
            return false;
    return true;
}

}  // namespace runner
