#include "runner/engine/RunSettings.h"

#include <cstdio>

namespace runner {

const char* const handlingTexts[handlingCount] = {
    "Name/time for each report", "Files/time at start", "HTML around report list", "HTML + Table around list", "None",
};

const char* const symbolSetTexts[symbolSetCount] = {
    "*, **, ***", "*.*, *:*, *-*", "*#*, *$*, *%*", "*s*, *l*, *t*", "*S*, *L*, *T*",
};

const char* const emulatorNames[emulatorCount] = {"None", "MS-DOS Player", "DOSBox-X", "DOSBox"};

int CompareExact(std::string_view a, std::string_view b) {
    // std::string_view compares chars as unsigned bytes (char_traits<char>
    // uses memcmp), so bytes above 127 sort after the space.
    int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

bool IsRunnable(const RunSettings& s) {
    if (s.program.empty() || s.files.empty() || s.command.empty()) return false;
    if (s.output.empty() && s.rename) return false;
    if ((s.report.empty() || s.tempExt.empty()) && s.handling <= HandlingHtmlTable) return false;
    return true;
}

std::string MissingForRun(const RunSettings& s) {
    std::string missing = s.program.empty()              ? "the DOS program to run"
                          : s.files.empty()              ? "the files to pass"
                          : s.command.empty()            ? "the command"
                          : s.output.empty() && s.rename ? "the output directory (Rename is ticked)"
                          : s.report.empty()             ? "the report file name"
                                                         : "the temporary extension";
    return "Lorvan cannot run yet: enter " + missing + ".";
}

bool IsTranslateOn(const RunSettings& s) {
    return CompareExact(s.translate, " ") > 0;
}

bool IsTranslateAbsolute(const RunSettings& s, const text::CodePage& codePage) {
    return text::FindFirstChar(s.translate, ":", codePage) != std::string::npos ||
           (!s.translate.empty() && s.translate[0] == '\\');
}

bool HasPathSeparator(std::string_view text, const text::CodePage& codePage) {
    return text::FindFirstChar(text, ":\\", codePage) != std::string_view::npos;
}

bool HasAnySeparator(std::string_view text, const text::CodePage& codePage) {
    return text::FindFirstChar(text, ":\\/", codePage) != std::string_view::npos;
}

bool IsBlankEntry(std::string_view text) {
    return CompareExact(text, " ") <= 0;
}

bool IsTempExtAcceptable(const RunSettings& s) {
    if (s.handling > HandlingHtmlTable || s.tempExt.empty()) return true;
    return s.tempExt[0] == '.' && s.tempExt.size() >= 2;
}

bool IsTempExtUsable(const RunSettings& s, const text::CodePage& codePage) {
    if (s.handling > HandlingHtmlTable) return true;
    if (s.tempExt.empty() || !IsTempExtAcceptable(s)) return false;
    // A dot or a space is never the second byte of a character.
    const char last = s.tempExt.back();
    return last != '.' && last != ' ' && text::FindFirstChar(s.tempExt, "\\/:*?\"<>|", codePage) == std::string::npos;
}

bool RenameForHandling(int32_t handling) {
    return handling < HandlingFilesTime || handling > HandlingHtmlTable;
}

std::optional<std::string> SuggestReportName(int32_t handling, std::string_view report) {
    if (handling > HandlingHtmlTable) return std::nullopt;
    if (handling < HandlingHtml)
        return report == htmlReportName ? std::optional<std::string>(textReportName) : std::nullopt;
    return report == textReportName ? std::optional<std::string>(htmlReportName) : std::nullopt;
}

bool WantsRunInformation(const RunSettings& s) {
    return s.handling >= (s.nameTimeWithoutRunInformation ? 1 : 0) && s.handling < HandlingNone;
}

uint32_t TimeLimit(const RunSettings& s) {
    return timeLimitRange.Holds(s.timeLimit) ? static_cast<uint32_t>(s.timeLimit) : 0;
}

int32_t Emulator(const RunSettings& s) {
    return emulatorChoices.Holds(s.emulator) ? s.emulator : EmulatorNone;
}

const std::string& EmulatorPath(const RunSettings& s) {
    static const std::string none;
    switch (Emulator(s)) {
        case EmulatorMsDosPlayer:
            return s.msDosPlayerPath;
        case EmulatorDosBoxX:
            return s.dosBoxXPath;
        case EmulatorDosBox:
            return s.dosBoxPath;
        default:
            return none;
    }
}

std::string Duration(uint32_t seconds) {
    if (seconds < 60) return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
    char text[32];
    std::snprintf(text, sizeof text, "%u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

uint32_t CommandsAtOnce(const RunSettings& s) {
    return commandsAtOnceRange.Holds(s.commandsAtOnce) ? static_cast<uint32_t>(s.commandsAtOnce) : 1;
}

}  // namespace runner
