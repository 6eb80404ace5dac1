#include "FakePlatform.h"

#include "runner/engine/StoredValues.h"
#include "runner/window/FieldTable.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace runner;

namespace {

StoredValue Text(std::string name, std::string text) {
    return {std::move(name), storedString, std::move(text)};
}

StoredValue Number(std::string name, uint32_t n) {
    return {std::move(name), storedNumber, std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)}};
}

// A list written as its entries with the selected one in brackets; "-" for
// none (the list keeps its entries).
std::string Shown(const std::optional<StoredList>& list) {
    if (!list) return "-";
    std::string out;
    for (size_t i = 0; i < list->entries.size(); ++i)
        out += (int(i) == list->selected ? "[" + list->entries[i] + "]" : list->entries[i]) + ";";
    return out;
}

}  // namespace

TEST(LoadStoredValues, WhatFitsIsUsedTheRestPassedOver) {
    // Each stored shape of one list (Program, limit 256), as the window would show it.
    const std::string item511(511, 'p'), item600(600, 'x'), item100k(100000, 'f');
    struct Row {
        const char* what;
        std::vector<StoredValue> values;
        std::string shown;
        int codePage = 1252;
    };
    // In UTF-8 a limit counts as the field does: by UTF-16 units, not bytes.
    std::string cyrillic, emoji;
    for (int i = 0; i < 256; ++i) cyrillic += "й";
    for (int i = 0; i < 128; ++i) emoji += "😀";
    const Row rows[] = {
        {"256 characters of two bytes in UTF-8", {Text("1", cyrillic)}, "[" + cyrillic + "];", 65001},
        {"257 characters in UTF-8", {Text("1", cyrillic + "a"), Text("2", "b")}, "b;", 65001},
        {"128 characters beyond U+FFFF", {Text("1", emoji), Text("2", emoji + "a")}, "[" + emoji + "];", 65001},
        {"in an ANSI code page, bytes", {Text("1", cyrillic), Text("2", "b")}, "b;"},
        {"saved as usual", {Text("1", "a.exe"), Text("2", "b.exe"), Number("select", 2)}, "a.exe;[b.exe];"},
        {"600 characters: left out", {Text("1", "a.exe"), Text("2", item600), Number("select", 2)}, "a.exe;"},
        {"left out before the selected", {Text("1", item600), Text("2", "b.exe"), Number("select", 2)}, "[b.exe];"},
        {"select 0", {Text("1", "a"), Text("2", "b"), Number("select", 0)}, "[a];b;"},
        {"select one past the items", {Text("1", "a"), Text("2", "b"), Number("select", 3)}, "a;b;"},
        {"select past the values", {Text("1", "a"), Text("2", "b"), Number("select", 9)}, "[a];b;"},
    };
    for (const Row& row : rows) {
        FakePlatform platform("C:\\DATA", row.codePage);
        RunSettings settings{"C:\\DATA"};
        StoredKey key;
        key.lists[0] = row.values;
        EXPECT_EQ(Shown(LoadStoredValues(key, settings, platform, storedFields).lists[0]), row.shown) << row.what;
    }

    // The two shapes that once ended the program at every start.
    FakePlatform platform("C:\\DATA");
    RunSettings settings{"C:\\DATA"};
    StoredKey key;
    key.lists[1] = {Text("1", item100k), Text("2", "*.txt"), Number("select", 1)};
    key.lists[3] = {Text("1", item511), Text("2", item511 + "x")};
    LoadedLists loaded = LoadStoredValues(key, settings, platform, storedFields);
    EXPECT_EQ(Shown(loaded.lists[1]), "*.txt;");
    EXPECT_EQ(Shown(loaded.lists[3]), "[" + item511 + "];");  // Translate: the stored item's limit
}

TEST(StoredValues, WhatIsSavedLoadsBack) {
    // Each list as its subkey holds it: names, texts and "select".
    auto subkey = [](std::vector<std::string> entries, int selected, HistoryList which = HistoryList::Files) {
        std::string out;
        for (const StoredValue& v : ListStoredValues({std::move(entries), selected}, historyRows[int(which)]->stored))
            out += v.name + "=" + (v.type == storedString ? v.data : std::to_string(uint8_t(v.data[0]))) + ";";
        return out;
    };
    EXPECT_EQ(subkey({"", "a.txt", "b.txt"}, 2), "2=a.txt;3=b.txt;select=2;");
    EXPECT_EQ(subkey({"", "a.txt", "b.txt"}, 0), "2=a.txt;3=b.txt;select=1;");  // the next stored one
    EXPECT_EQ(subkey({"", "D:\\X"}, 1, HistoryList::Translate), "1= ;2=D:\\X;select=2;");
    EXPECT_EQ(subkey({"a", "b"}, -1), "1=a;2=b;select=1;");
    EXPECT_EQ(subkey({}, -1), "");  // no subkey

    RunSettings saved{"C:\\DATA"};
    saved.output.clear();
    saved.report = "R.LRV";
    saved.tempExt = ".TMPTMPTMP";
    saved.handling = 7;
    saved.symbols = -1;
    saved.rename = saved.fullPath = saved.nameTimeWithoutRunInformation = true;
    saved.standIns = StandInsAlways;
    saved.commandsAtOnce = 9;
    saved.showOutput = true;
    saved.timeLimit = 3600;
    saved.emulator = EmulatorDosBoxX;
    saved.dosBoxXPath = "C:\\DX\\dosbox-x.exe";
    StoredKey key{GlobalStoredValues(saved, storedFields)};
    for (StoredValue& value : DirectoryStoredValues(saved, storedFields)) key.values.push_back(std::move(value));
    EXPECT_EQ(key.values.size(), 18u);
    FakePlatform platform("C:\\DATA");
    RunSettings loaded{"C:\\DATA"};
    LoadStoredValues(key, loaded, platform, storedFields);
    EXPECT_EQ(std::tie(loaded.output, loaded.report, loaded.tempExt, loaded.handling, loaded.symbols),
              std::tie(saved.output, saved.report, saved.tempExt, saved.handling, saved.symbols));
    EXPECT_EQ(std::make_tuple(loaded.rename, loaded.test, loaded.fullPath, loaded.nameTimeWithoutRunInformation,
                              loaded.standIns, loaded.commandsAtOnce, loaded.showOutput, loaded.timeLimit),
              std::make_tuple(true, false, true, true, int32_t(StandInsAlways), 9, true, 3600));
    EXPECT_EQ(std::tie(loaded.emulator, loaded.dosBoxXPath), std::tie(saved.emulator, saved.dosBoxXPath));
}
