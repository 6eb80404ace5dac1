// The stored settings as the window reads them: any values (names, types,
// bytes, lengths) in the program key and its four history subkeys. Whatever
// they hold, what is loaded fits the window's fields.
#include "FuzzSupport.h"

#include "runner/engine/StoredValues.h"
#include "runner/window/FieldTable.h"

namespace runner::fuzz {

namespace {

std::vector<StoredValue> Values(FuzzInput& in) {
    const char* const names[] = {"1",      "2",        "select",    "CWD",     "Output",
                                 "Report", "TempExt",  "Handling",  "Symbols", "Rename",
                                 "Test",   "FullPath", "Handling0", "SELECT",  "cwd"};
    std::vector<StoredValue> values;
    for (int count = in.Byte() % 12; count > 0 && !in.Empty(); --count) {
        StoredValue& value = values.emplace_back();
        value.name = in.OneOf(names, 120);
        const uint8_t type = in.Byte();
        value.type = type < 128 ? (type & 1 ? storedString : storedNumber) : type % 12;
        value.data = in.Text(255);  // now and then a long text: lengths around every limit
        if (in.Flag()) value.data.append(static_cast<size_t>(in.Byte()) * 5, value.data.empty() ? 'x' : value.data[0]);
    }
    return values;
}

}  // namespace

int FuzzStored(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    FakePlatform platform("C:\\DATA");
    StoredKey key;
    key.values = Values(in);
    for (auto& list : key.lists)
        if (in.Flag()) list = Values(in);
    RunSettings settings{"C:\\DATA"};
    const LoadedLists loaded = LoadStoredValues(key, settings, platform, storedFields);
    for (int i = 0; i < historyListCount; ++i) {
        Check(loaded.lists[i].has_value() == (key.lists[i] && !key.lists[i]->empty()), "a list kept or lost wrongly");
        if (!loaded.lists[i]) continue;
        const StoredList& list = *loaded.lists[i];
        Check(list.selected >= -1 && list.selected < static_cast<int>(list.entries.size()), "selection past the end");
        for (const std::string& entry : list.entries) {
            Check(entry.size() <= EntryLimit(historyRows[i]->stored), "an entry over its field's limit");
            Check(entry.find('\0') == std::string::npos, "a zero inside an entry");
        }
    }
    for (const std::string* text : {&settings.output, &settings.report, &settings.tempExt})
        Check(text->size() < maxStoredTextData && text->find('\0') == std::string::npos, "a text over its limit");
    return 0;
}

}  // namespace runner::fuzz
