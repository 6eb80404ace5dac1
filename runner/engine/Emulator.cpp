#include "runner/engine/Emulator.h"

#include "runner/engine/RunSettings.h"

namespace runner {

namespace {

// A host folder as DOSBox's MOUNT takes it: quoted where it holds a space.
// Never a backslash before a quote, which SDL's parsing of the command line
// reads as an escaped quote whatever comes before it: a root is "C:\.".
std::string MountFolder(std::string_view folder) {
    std::string mounted(folder);
    if (mounted.size() > 3 && mounted.back() == '\\') mounted.pop_back();
    if (mounted.back() == '\\') mounted.push_back('.');
    if (folder.find(' ') != std::string_view::npos) mounted.insert(0, 1, '"').push_back('"');
    return mounted;
}

std::string Command(std::string_view command) {
    return " -c " + QuoteArgument(command);
}

}  // namespace

std::string QuoteArgument(std::string_view argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string_view::npos) return std::string(argument);
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + '"';
}

bool NeedsBatch(int32_t emulator) {
    return emulator == EmulatorDosBoxX || emulator == EmulatorDosBox;
}

bool MakesOwnShortNames(int32_t emulator) {
    return emulator == EmulatorDosBox;
}

std::string EmulatorCommandLine(const EmulatorRun& run, std::string_view tail, std::string_view batchName) {
    std::string line = QuoteArgument(run.path);
    if (!NeedsBatch(run.emulator)) return line.append(" ").append(QuoteArgument(run.program)).append(" ").append(tail);
    // DOSBox-X leaves out its window and exits after the commands.
    if (run.emulator == EmulatorDosBoxX) line += " -silent";
    line += Command("mount c " + MountFolder(run.cwd));
    line += Command("mount e " + MountFolder(run.scratch));
    if (!run.programFolder.empty()) line += Command("mount d " + MountFolder(run.programFolder));
    // A batch file started without CALL leaves DOSBox at its prompt.
    line += Command("c:");
    line += Command("call e:\\" + std::string(batchName));
    return line + Command("exit");
}

std::string BatchProgramLine(const EmulatorRun& run, std::string_view tail) {
    std::string line = run.program + ' ';
    // A batch file reads "%" as the start of a variable.
    for (char c : tail) line.append(c == '%' ? 2 : 1, c);
    return line;
}

std::string DosBatch(std::string_view programLine, std::string_view outputName, std::string_view codeName) {
    // ERRORLEVEL n holds for every code from n on: the last SET that holds
    // is the code's. No redirection on those lines: DOS opens a line's
    // output file even where its IF does not hold.
    std::string batch = "@ECHO OFF\r\nSET LRVCODE=0\r\n";
    batch.append(programLine).append(" >E:\\").append(outputName).append("\r\n");
    for (int code = 1; code <= 255; ++code) {
        const std::string n = std::to_string(code);
        batch += "IF ERRORLEVEL " + n + " SET LRVCODE=" + n + "\r\n";
    }
    batch.append("ECHO %LRVCODE%>E:\\").append(codeName).append("\r\n");
    return batch;
}

int RecordedExitCode(std::string_view text) {
    int code = 0;
    size_t digits = 0;
    for (; digits < text.size() && text[digits] >= '0' && text[digits] <= '9'; ++digits)
        code = code * 10 + (text[digits] - '0');
    return digits == 0 || digits > 3 || code > 255 ? -1 : code;
}

}  // namespace runner
