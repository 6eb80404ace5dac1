#include "HistoryLists.h"

#include "ComboItemsDlg.h"
#include "FieldTable.h"

namespace runner {

namespace {

// The entry of a list that its field shows; the list's selection when none does.
int EntryShown(const fw::ComboBox& list, Platform& platform) {
    const std::string shown = list.Text();
    int caseFolded = -1;
    for (int j = 0, count = list.Count(); j < count; ++j) {
        const std::string entry = list.ItemText(j);
        if (entry == shown) return j;
        if (caseFolded < 0 && platform.CompareNoCase(entry, shown) == 0) caseFolded = j;
    }
    return caseFolded >= 0 ? caseFolded : list.CurSel();
}

}  // namespace

void HistoryLists::Attach(HWND window) {
    for (int i = 0; i < historyListCount; ++i) lists[i].hwnd = GetDlgItem(window, historyRows[i]->id);
    (*this)[HistoryList::Program].AddString("");
    (*this)[HistoryList::Command].AddString("");
}

void HistoryLists::Show(const LoadedLists& loaded, RunSettings& settings) {
    for (int i = 0; i < historyListCount; ++i) {
        fw::ComboBox& list = lists[i];
        if (loaded.lists[i]) {
            list.ResetContent();
            for (const std::string& entry : loaded.lists[i]->entries) list.AddString(entry.c_str());
            list.SetCurSel(loaded.lists[i]->selected);
        }
        if (list.CurSel() >= 0) settings.*historyRows[i]->stored.text = list.ItemText(list.CurSel());
    }
}

void HistoryLists::Gather(Platform& platform, StoredList (&stored)[historyListCount]) const {
    for (int i = 0; i < historyListCount; ++i) {
        const fw::ComboBox& list = lists[i];
        for (int j = 0, count = list.Count(); j < count; ++j) stored[i].entries.push_back(list.ItemText(j));
        // The entry that the field shows is what the next start shows: a
        // text typed equal to an entry, not picked, leaves the list's
        // selection on the entry chosen before.
        stored[i].selected = EntryShown(list, platform);
    }
}

void HistoryLists::Add(HistoryList list, std::string_view value) {
    fw::ComboBox& combo = (*this)[list];
    std::vector<std::string> entries;
    for (int i = 0, count = combo.Count(); i < count; ++i) entries.push_back(combo.ItemText(i));
    if (HistoryTakes(entries, value)) combo.AddString(std::string(value).c_str());
}

void HistoryLists::Edit(HistoryList list) {
    static const char* const captions[historyListCount] = {"DOS program to run", "Files to pass", "Command",
                                                           "Translate directory"};
    CComboItemsDlg editor;
    editor.SetTarget(captions[static_cast<int>(list)], (*this)[list]);
    editor.DoModal();
}

}  // namespace runner
