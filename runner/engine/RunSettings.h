// Lorvan's settings record and its rules. Plain data and pure
// functions: nothing here touches a window, a file or the registry.
#pragma once

#include "common/text/CodePage.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace runner {

// Report handling modes, the indexes of the Report handling list.
enum Handling : int32_t {
    HandlingNameTime = 0,
    HandlingFilesTime = 1,
    HandlingHtml = 2,
    HandlingHtmlTable = 3,
    HandlingNone = 4,
};

constexpr int handlingCount = 5;
constexpr int symbolSetCount = 5;

// The texts the two fixed drop-down lists show, by index.
extern const char* const handlingTexts[handlingCount];
extern const char* const symbolSetTexts[symbolSetCount];

// The two fixed report names that go with the handling modes.
constexpr std::string_view textReportName = "REPORT.TXT";
constexpr std::string_view htmlReportName = "REPORT.LRV";

// Length limits in bytes, enforced by the dialog's data exchange.
constexpr size_t maxProgramLength = 256;
constexpr size_t maxFilesLength = 256;
constexpr size_t maxCommandLength = 126;
constexpr size_t maxOutputLength = 256;
constexpr size_t maxTempExtLength = 4;

// The numbers a number field takes; one outside counts as its start value.
struct NumberRange {
    int32_t low = std::numeric_limits<int32_t>::min();
    int32_t high = std::numeric_limits<int32_t>::max();
    constexpr bool Holds(int32_t n) const { return n >= low && n <= high; }
};

// The Options menu's choices of stand-in names, as stored (StandIns.h).
enum StandInMode : int32_t { StandInsOff = 0, StandInsWhenNeeded = 1, StandInsAlways = 2 };
constexpr NumberRange standInModes{StandInsOff, StandInsAlways};

// Options > Commands at once: how many commands a real run keeps running.
constexpr NumberRange commandsAtOnceRange{1, 64};

// Options > Time limit per command, in seconds: 0 (none) or up to 24 hours.
constexpr NumberRange timeLimitRange{0, 24 * 60 * 60};

// Options > DOS emulator: what a DOS program runs through, as stored.
enum EmulatorChoice : int32_t { EmulatorNone = 0, EmulatorMsDosPlayer = 1, EmulatorDosBoxX = 2, EmulatorDosBox = 3 };
constexpr NumberRange emulatorChoices{EmulatorNone, EmulatorDosBox};
constexpr int emulatorCount = 4;
extern const char* const emulatorNames[emulatorCount];

struct RunSettings {
    std::string cwd;
    std::string program;
    std::string files;
    std::string command;
    std::string translate;
    std::string output = "OUTPUT";
    std::string report = "REPORT.TXT";
    int32_t handling = HandlingNameTime;  // -1 when no entry is selected
    int32_t symbols = 0;                  // -1 when no entry is selected
    std::string tempExt = ".TMP";
    bool rename = false;
    bool test = false;
    bool fullPath = false;
    bool nameTimeWithoutRunInformation = false;  // run information left out of "Name/time for each report"
    int32_t standIns = StandInsWhenNeeded;
    int32_t commandsAtOnce = 1;
    bool showOutput = false;  // Options > Show each command's output: also of the commands that end OK
    int32_t timeLimit = 0;    // seconds; 0: none
    int32_t emulator = EmulatorNone;
    // Each emulator's program file, kept while another one is chosen.
    std::string msDosPlayerPath, dosBoxXPath, dosBoxPath;
};

// Byte-wise comparison in the manner of _mbscmp: for the comparisons this
// system makes (equality, and order against a single space) a multibyte
// character compares as its bytes do.
int CompareExact(std::string_view a, std::string_view b);

bool IsRunnable(const RunSettings& s);
// What a run still needs, told for a Run asked for before the fields suffice.
std::string MissingForRun(const RunSettings& s);
bool IsTranslateOn(const RunSettings& s);
// The scans below go by character in the given code page.
bool IsTranslateAbsolute(const RunSettings& s, const text::CodePage& codePage);
bool HasPathSeparator(std::string_view text, const text::CodePage& codePage);
// HasPathSeparator, or a "/", which Windows takes for a backslash: a name
// that must stay in cwd is refused on any of them.
bool HasAnySeparator(std::string_view text, const text::CodePage& codePage);
bool IsBlankEntry(std::string_view text);
bool IsTempExtAcceptable(const RunSettings& s);
// What Run asks of the temporary extension: the field rule, and that Windows
// keeps the temporary name as made (no trailing dot or space, which it drops,
// no separator or wildcard), so that it never names another file.
bool IsTempExtUsable(const RunSettings& s, const text::CodePage& codePage);
// What the dialog and Run show when the temporary extension fails.
constexpr std::string_view tempExtMessage =
    "The extension of the temporary file must begin with a dot (.) and be 2 - 4 characters long.";
bool RenameForHandling(int32_t handling);
std::optional<std::string> SuggestReportName(int32_t handling, std::string_view report);
bool WantsRunInformation(const RunSettings& s);
// The commands a real run keeps running: commandsAtOnce, or 1 where that is
// outside commandsAtOnceRange (a stored value is not to be trusted).
uint32_t CommandsAtOnce(const RunSettings& s);
// A real run's time limit per command in seconds, 0 for none; none where the
// stored value is outside timeLimitRange.
uint32_t TimeLimit(const RunSettings& s);
// The emulator a DOS program runs through, EmulatorNone where the stored
// value is outside emulatorChoices.
int32_t Emulator(const RunSettings& s);
// The chosen emulator's program file; empty for none.
const std::string& EmulatorPath(const RunSettings& s);
// "30 seconds", "1 second", or for a minute and more "1:30:00" (h:mm:ss).
std::string Duration(uint32_t seconds);

}  // namespace runner
