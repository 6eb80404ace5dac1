#include "runner/engine/CommandTemplate.h"

#include "common/text/AsciiCase.h"
#include "runner/engine/FileDiscovery.h"
#include "runner/engine/Platform.h"
#include "runner/engine/ProgramStart.h"
#include "runner/engine/RunSettings.h"

#include <algorithm>

namespace runner {

namespace {

// The Symbols list control gives at most 14 characters.
constexpr size_t maxSymbolSetText = 14;

// The original placed literal text into a printf format: "%%" comes out as
// one "%". Any other "%" is kept as it is rather than read as a conversion.
std::string LiteralText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '%') ++i;
    }
    return out;
}

// A symbol matches at position r (a "*") when its characters after the
// first follow there. An empty symbol never matches.
bool MatchesAt(std::string_view text, size_t r, std::string_view symbol) {
    if (symbol.empty() || text.size() - r < symbol.size()) return false;
    return text.substr(r + 1, symbol.size() - 1) == symbol.substr(1);
}

}  // namespace

SymbolSet ReadSymbolSet(std::string_view text) {
    text = text.substr(0, maxSymbolSetText);
    size_t first = text.find(',');
    if (first == std::string_view::npos) return {};
    size_t second = text.find(',', first + 1);
    if (second == std::string_view::npos) return {};
    // The comma and the space after it are skipped; a missing space is not
    // read past the end.
    auto from = [&](size_t comma) { return std::min(comma + 2, text.size()); };
    SymbolSet set;
    set.shortSymbol = text.substr(0, first);
    size_t longStart = std::min(from(first), second);
    set.longSymbol = text.substr(longStart, second - longStart);
    set.translateSymbol = text.substr(from(second));
    return set;
}

bool ParseCommandTemplate(std::string_view templateText, const SymbolSet& symbols, CommandFormat& format) {
    format.items.clear();
    // Longest first: with set 0, "***" before "**" before "*".
    const std::pair<const std::string*, SlotKind> order[] = {
        {&symbols.translateSymbol, SlotKind::TranslateSlot},
        {&symbols.longSymbol, SlotKind::LongSlot},
        {&symbols.shortSymbol, SlotKind::ShortSlot},
    };
    size_t slots = 0;
    size_t start = 0;
    size_t r = 0;
    while ((r = templateText.find('*', r)) != std::string_view::npos) {
        const std::pair<const std::string*, SlotKind>* match = nullptr;
        for (const auto& candidate : order) {
            if (MatchesAt(templateText, r, *candidate.first)) {
                match = &candidate;
                break;
            }
        }
        if (!match) {
            ++r;
            continue;
        }
        if (slots == maxSymbols) return false;
        ++slots;
        format.items.push_back({SlotKind::Literal, LiteralText(templateText.substr(start, r - start))});
        format.items.push_back({match->second, {}});
        r += match->first->size();
        start = r;
    }
    format.items.push_back({SlotKind::Literal, LiteralText(templateText.substr(start))});
    return true;
}

std::string RelativeToCwd(std::string_view shortPath, std::string_view cwd, const text::CodePage& codePage) {
    // The short path begins with the working directory's own components:
    // as many backslashes as cwd holds, not counting a trailing one (a drive
    // root "C:\"), then the separator (possibly doubled, cwd + "\" at a
    // root). For "C:\DATA" this drops through the second backslash; a path
    // with fewer backslashes keeps what follows its last.
    size_t n = 0;
    for (std::string_view rest = cwd;;) {
        size_t slash = text::FindFirstChar(rest, "\\", codePage);
        if (slash == std::string_view::npos) break;
        if (slash + 1 != rest.size()) ++n;
        rest.remove_prefix(slash + 1);
    }
    size_t pos = 0;
    for (size_t k = 0; k <= n; ++k) {
        size_t slash = text::FindFirstChar(shortPath.substr(pos), "\\", codePage);
        if (slash == std::string_view::npos) {
            size_t last = text::FindLastChar(shortPath, "\\", codePage);
            return std::string(last == std::string_view::npos ? shortPath : shortPath.substr(last + 1));
        }
        pos += slash + 1;
    }
    while (pos < shortPath.size() && shortPath[pos] == '\\') ++pos;
    return std::string(shortPath.substr(pos));
}

FileValues MakeFileValues(const FileEntry& entry, const RunSettings& settings, const SymbolSet& symbols,
                          Platform& platform) {
    FileValues values;
    if (settings.test)
        values.shortValue = entry.EffectiveShortName();
    else
        values.shortValueReadable = platform.ConvertToOem(entry.EffectiveShortName(), values.shortValue);
    values.longValue = entry.longName;
    values.translateValue = noTranslateMarker;
    if (!IsTranslateOn(settings)) return values;

    std::string_view longName = entry.longName;
    size_t dot = text::FindLastChar(longName, ".", platform);
    std::string_view base = dot == std::string_view::npos ? longName : longName.substr(0, dot);

    std::string path;
    const bool absolute = IsTranslateAbsolute(settings, platform);
    if (!absolute) {
        path = settings.cwd;
        path += '\\';
    }
    const std::string& symbol = symbols.longSymbol;
    std::string_view translate = settings.translate;
    for (size_t pos = 0;;) {
        size_t hit = symbol.empty() ? std::string_view::npos : translate.find(symbol, pos);
        if (hit == std::string_view::npos) {
            path += translate.substr(pos);
            break;
        }
        path += translate.substr(pos, hit - pos);
        path += base;
        pos = hit + symbol.size();
    }

    std::string shortPath;
    if (!platform.Exists(path) || !platform.ShortPath(path, shortPath) || shortPath.size() > maxTranslateShortPath)
        return values;
    // The dialog holds Full path on while the translate text is absolute.
    if (!settings.fullPath && !absolute) shortPath = RelativeToCwd(shortPath, settings.cwd, platform);
    for (size_t i = 0; i < shortPath.size(); ++i) {
        if (platform.IsLeadByte(static_cast<unsigned char>(shortPath[i])))
            ++i;  // a double-byte character is left as it is
        else
            shortPath[i] = text::UpperAscii(shortPath[i]);
    }
    values.translateValue = std::move(shortPath);
    return values;
}

namespace {

// What an item puts in its place: its literal text, or the file's value.
const std::string& TextOf(const CommandItem& item, const FileValues& values) {
    switch (item.kind) {
        case SlotKind::ShortSlot:
            return values.shortValue;
        case SlotKind::LongSlot:
            return values.longValue;
        case SlotKind::TranslateSlot:
            return values.translateValue;
        case SlotKind::Literal:
            break;
    }
    return item.text;
}

}  // namespace

std::string ExpandCommand(const CommandFormat& format, const FileValues& values) {
    std::string out;
    for (const CommandItem& item : format.items) out += TextOf(item, values);
    return out;
}

bool IsCommandTooLong(size_t dosLength) {
    return dosLength > maxCommandLength;
}

namespace {

// The user's text as the interpreter gets it: every "%" doubled.
void AddDoublingPercent(std::string& line, std::string_view text) {
    for (char c : text) {
        line += c;
        if (c == '%') line += '%';
    }
}

}  // namespace

std::string BuildCommandLine(std::string_view program, std::string_view expansion) {
    // The command interpreter would expand "%NAME%": every "%" is doubled.
    std::string line;
    line.reserve(program.size() + expansion.size() + 8);
    AddDoublingPercent(line, program);
    line += ' ';
    AddDoublingPercent(line, expansion);
    return line;
}

InterpreterLine BuildInterpreterLine(std::string_view program, const CommandFormat& format, const FileValues& values) {
    InterpreterLine result;
    std::string& line = result.line;
    bool quoted = false;
    auto addUserText = [&](std::string_view text) {
        for (char c : text) quoted ^= c == '"';
        AddDoublingPercent(line, text);
    };
    auto addValue = [&](std::string_view value) {
        for (char c : value) {
            if (c == '%' || c == '"' || static_cast<unsigned char>(c) < 0x20) {
                result.blocked = c;
                return;
            }
            // Inside quotes the interpreter takes these as they are, and a
            // "^" there would reach the program.
            if (!quoted && std::string_view("&|<>^()").find(c) != std::string_view::npos) line += '^';
            line += c;
        }
    };
    addUserText(program);
    addUserText(" ");
    for (const CommandItem& item : format.items) {
        if (item.kind == SlotKind::Literal)
            addUserText(item.text);
        else
            addValue(TextOf(item, values));
        if (result.blocked) {
            line.clear();
            break;
        }
    }
    return result;
}

bool UserTextNeedsInterpreter(std::string_view program, const CommandFormat& format) {
    if (!InterpreterLeavesUnchanged(program)) return true;
    for (const CommandItem& item : format.items)
        if (item.kind == SlotKind::Literal && !InterpreterLeavesUnchanged(item.text)) return true;
    return false;
}

}  // namespace runner
