// The template parse and expansion against every symbol set, and a fuzzed one.
#include "FuzzSupport.h"

#include "runner/engine/CommandTemplate.h"
#include "runner/engine/RunSettings.h"

namespace runner::fuzz {

int FuzzTemplate(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const FileValues values{in.Text(16), in.Text(64), in.Text(16)};
    const std::string program = in.Text(16), ownSet = in.Text(20), templateText = in.Rest();
    auto count = [](std::string_view text, char c) { return size_t(std::count(text.begin(), text.end(), c)); };
    for (int set = 0; set <= symbolSetCount; ++set) {
        CommandFormat format;
        if (!ParseCommandTemplate(templateText, ReadSymbolSet(set < symbolSetCount ? symbolSetTexts[set] : ownSet),
                                  format)) {
            Check(count(templateText, '*') > maxSymbols, "too many symbols with few stars");
            continue;
        }
        Check(!format.items.empty() && format.items.back().kind == SlotKind::Literal, "no final literal");
        size_t slots = 0, literal = 0, length = 0;
        for (const CommandItem& item : format.items) {
            const bool text = item.kind == SlotKind::Literal;
            slots += !text;
            literal += text ? item.text.size() : 0;
            length += text                               ? item.text.size()
                      : item.kind == SlotKind::ShortSlot ? values.shortValue.size()
                      : item.kind == SlotKind::LongSlot  ? values.longValue.size()
                                                         : values.translateValue.size();
        }
        Check(slots <= maxSymbols && literal <= templateText.size(), "more slots than symbols, or literal text grew");
        const std::string expansion = ExpandCommand(format, values), line = BuildCommandLine(program, expansion);
        Check(expansion.size() == length, "expansion is not its items");
        Check(IsCommandTooLong(expansion.size()) == (expansion.size() > maxCommandLength), "length test");
        const size_t percents = count(program, '%') + count(expansion, '%');
        Check(count(line, '%') == 2 * percents, "a \"%\" not doubled");
        Check(line.size() == program.size() + 1 + expansion.size() + percents, "command line length");
    }
    return 0;
}

}  // namespace runner::fuzz
