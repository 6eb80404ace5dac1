// The template parse and expansion against every symbol set, and a fuzzed one.
#include "FuzzSupport.h"

#include "runner/engine/CommandTemplate.h"
#include "runner/engine/RunSettings.h"

#include <algorithm>

namespace runner::fuzz {

int FuzzTemplate(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const FileValues values{in.Text(16), in.Text(64), in.Text(16)};
    const std::string program = in.Text(16);
    const std::string ownSet = in.Text(20);
    const std::string templateText = in.Rest();

    auto count = [](std::string_view text, char c) { return size_t(std::count(text.begin(), text.end(), c)); };
    for (int set = 0; set <= symbolSetCount; ++set) {
        const SymbolSet symbols = ReadSymbolSet(set < symbolSetCount ? symbolSetTexts[set] : ownSet);
        CommandFormat format;
        if (!ParseCommandTemplate(templateText, symbols, format)) {
            Check(count(templateText, '*') > maxSymbols, "too many symbols with few stars");
            continue;
        }
        Check(!format.items.empty() && format.items.back().kind == SlotKind::Literal, "no final literal");
        size_t slots = 0, literal = 0, length = 0;
        for (const CommandItem& item : format.items) {
            if (item.kind == SlotKind::Literal) {
                literal += item.text.size();
                length += item.text.size();
                continue;
            }
            ++slots;
            length += item.kind == SlotKind::ShortSlot  ? values.shortValue.size()
                      : item.kind == SlotKind::LongSlot ? values.longValue.size()
                                                        : values.translateValue.size();
        }
        Check(slots <= maxSymbols, "more slots than symbols allowed");
        Check(literal <= templateText.size(), "literal text grew");
        const std::string expansion = ExpandCommand(format, values);
        Check(expansion.size() == length, "expansion is not its items");
        Check(IsCommandTooLong(expansion.size()) == (expansion.size() > maxCommandLength), "length test");
        const std::string line = BuildCommandLine(program, expansion);
        Check(count(line, '%') == 2 * (count(program, '%') + count(expansion, '%')), "a \"%\" not doubled");
        Check(line.size() == program.size() + 1 + expansion.size() + count(program, '%') + count(expansion, '%'),
              "command line length");
    }
    return 0;
}

}  // namespace runner::fuzz

RUNNER_FUZZ_TARGET(FuzzTemplate)
