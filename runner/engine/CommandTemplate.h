// Command template and symbols.
#pragma once

#include "common/text/CodePage.h"

#include <string>
#include <string_view>
#include <vector>

namespace runner {

class Platform;
struct FileEntry;
struct RunSettings;

constexpr size_t maxSymbols = 10;
// The short form of the translate path fits 224 bytes with its zero.
constexpr size_t maxTranslateShortPath = 223;
constexpr std::string_view noTranslateMarker = "_No_t_d_";

// The three symbols of the chosen set. All empty when the Symbols text
// lacks its two commas: then no symbol exists and the template is literal.
struct SymbolSet {
    std::string shortSymbol;
    std::string longSymbol;
    std::string translateSymbol;
};

enum class SlotKind { Literal, ShortSlot, LongSlot, TranslateSlot };

struct CommandItem {
    SlotKind kind = SlotKind::Literal;
    std::string text;  // literal text, "%%" already made one "%"
};

// The parsed template: literal segments and slots, always ending with a
// literal segment (possibly empty).
struct CommandFormat {
    std::vector<CommandItem> items;
};

struct FileValues {
    std::string shortValue;
    std::string longValue;
    std::string translateValue;
    // False when the short value has characters that no DOS program can be
    // given (a long name outside the OEM code page, where there is no alias).
    bool shortValueReadable = true;
};

SymbolSet ReadSymbolSet(std::string_view text);

// False when the template holds more than maxSymbols symbols.
bool ParseCommandTemplate(std::string_view templateText, const SymbolSet& symbols, CommandFormat& format);

FileValues MakeFileValues(const FileEntry& entry, const RunSettings& settings, const SymbolSet& symbols,
                          Platform& platform);

// The part of a short path below the working directory cwd.
std::string RelativeToCwd(std::string_view shortPath, std::string_view cwd, const text::CodePage& codePage);

std::string ExpandCommand(const CommandFormat& format, const FileValues& values);
// Whether an expansion of that many bytes, as the DOS program gets it, is too long.
bool IsCommandTooLong(size_t dosLength);
std::string BuildCommandLine(std::string_view program, std::string_view expansion);

// The line for the command interpreter, built so that the program gets each
// file's values exactly: the user's own text (program and literal template
// text) as BuildCommandLine makes it, every character of a value that the
// interpreter would read escaped. Quotes come from the user's text only (no
// name holds one), so each value's place is known to lie inside quotes,
// where the interpreter reads only "%", or outside, where "^" escapes. No
// escape brings a "%" through both Windows' interpreter and others that
// scan again after a substitution: a value holding "%", a quote or a
// control character gives no line, and blocked names that character.
struct InterpreterLine {
    std::string line;
    char blocked = 0;  // the character of a value that no escape passes
};
InterpreterLine BuildInterpreterLine(std::string_view program, const CommandFormat& format, const FileValues& values);

// Whether the user's own text (the program and the template's literal text)
// asks for the interpreter; the files' values never do.
bool UserTextNeedsInterpreter(std::string_view program, const CommandFormat& format);

}  // namespace runner
