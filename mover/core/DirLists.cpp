#include "mover/core/DirLists.h"

#include "common/text/AsciiCase.h"
#include "common/text/FileAttribute.h"

#include <algorithm>

namespace mover {

namespace {

bool EndsWithFilesSuffix(const std::string& name) {
    return name.size() >= filesSuffixLength &&
           text::EqualsIgnoringAsciiCase(std::string_view(name).substr(name.size() - filesSuffixLength), filesSuffix);
}

}  // namespace

ListSide LeftSide() {
    return {true, "*_files", ""};
}
ListSide RightSide() {
    return {false, "_files\\*.*", "_files\\"};
}

Found ClassifyEntry(const ListSide& side, const std::string& name, std::uint32_t attributes, DirClass& image) {
    if (!(attributes & text::AttributeDirectory)) return Found::Skipped;
    if (name == "." || name == "..") return Found::Skipped;
    if (side.cwdSide) {
        if (text::EqualsIgnoringAsciiCase(name, filesSuffix)) return Found::FilesSubdirectory;
        // The pattern also matches 8.3 aliases; a name that does not itself
        // end in "_files" has no NN and is no page folder.
        if (!EndsWithFilesSuffix(name)) return Found::Skipped;
    }
    image =
        (attributes & (text::AttributeReadOnly | text::AttributeHidden | text::AttributeSystem)) ? Restricted : Normal;
    return Found::Listed;
}

void SortRows(std::vector<DirRow>& rows, CollationKey keyOf) {
    for (DirRow& row : rows) row.key = keyOf(row.name);
    std::stable_sort(rows.begin(), rows.end(), [](const DirRow& a, const DirRow& b) { return a.key < b.key; });
}

void MarkPairs(std::vector<DirRow>& left, std::vector<DirRow>& right, CollationKey keyOf) {
    auto before = [](const DirRow& row, const std::string& key) { return row.key < key; };
    auto after = [](const std::string& key, const DirRow& row) { return key < row.key; };
    for (DirRow& row : left) {
        std::string nn = keyOf(row.name.substr(0, row.name.size() - filesSuffixLength));
        auto first = std::lower_bound(right.begin(), right.end(), nn, before);
        auto last = std::upper_bound(first, right.end(), nn, after);
        for (auto it = first; it != last; ++it) {
            it->image = Pair;
            row.image = Pair;
        }
        row.selected = row.image == Normal;
    }
    for (DirRow& row : right) row.selected = false;
}

std::string NewName(const ListSide& side, const std::string& name) {
    if (side.cwdSide) return name.substr(0, name.size() - filesSuffixLength);
    return name + filesSuffix;
}

std::vector<MoveStep> PlanMoves(const std::vector<DirRow>& rows, const ListSide& side, const ListSide& opposite) {
    std::vector<MoveStep> steps;
    for (const DirRow& row : rows) {
        if (!row.selected || row.image != Normal) continue;
        if (side.cwdSide && !EndsWithFilesSuffix(row.name)) continue;
        steps.push_back({side.prefix + row.name, opposite.prefix + NewName(side, row.name)});
    }
    return steps;
}

}  // namespace mover
