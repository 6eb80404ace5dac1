#include "mover/core/DirLists.h"

#include "common/text/AsciiCase.h"
#include "common/text/FileAttribute.h"

#include <gtest/gtest.h>

using namespace mover;

namespace {

std::vector<DirRow> Rows(std::initializer_list<std::pair<const char*, DirClass>> items) {
    std::vector<DirRow> rows;
    for (auto [name, image] : items) rows.push_back({name, image, false});
    return rows;
}

std::vector<DirClass> Images(const std::vector<DirRow>& rows) {
    std::vector<DirClass> images;
    for (const DirRow& row : rows) images.push_back(row.image);
    return images;
}

// Each planned move as "source > target".
std::vector<std::string> Steps(const std::vector<DirRow>& rows, const ListSide& from, const ListSide& to) {
    std::vector<std::string> steps;
    for (const auto& step : PlanMoves(rows, from, to)) steps.push_back(step.source + " > " + step.target);
    return steps;
}

}  // namespace

TEST(ClassifyEntry, ListsDirectoriesOnlyAndMarksRestrictedOnes) {
    const std::uint32_t dir = text::AttributeDirectory;
    // on the left, name, attributes, what it becomes, its class (set only when listed)
    const std::tuple<bool, const char*, std::uint32_t, Found, DirClass> rows[] = {
        {true, "x_files", 0x20, Found::Skipped, Pair},  // a file
        {false, ".", dir, Found::Skipped, Pair},
        {true, "Page_files", dir, Found::Listed, Normal},
        {false, "page", dir | text::AttributeReadOnly, Found::Listed, Restricted},
        {false, "page", dir | text::AttributeSystem, Found::Listed, Restricted},
        {false, "page", dir | 0x20 | 0x2000, Found::Listed, Normal},  // archive and other bits do not restrict
        {true, "_FILES", dir, Found::FilesSubdirectory, Pair},
        // The left pattern also matches 8.3 aliases: a name must end in "_files" itself.
        {true, "Page_FiLeS", dir, Found::Listed, Normal},
    };
    for (auto [left, name, attributes, found, image] : rows) {
        DirClass got = Pair;
        EXPECT_EQ(ClassifyEntry(left ? LeftSide() : RightSide(), name, attributes, got), found) << name;
        EXPECT_EQ(got, image) << name << " " << attributes;
    }
}

TEST(MarkPairs, SortedIgnoringCaseWholeNamesPairedBeforeRestricted) {
    // Ties keep the enumeration order. "ab" is no partner of "a_files", nor
    // "a" of "ab_files"; "_files_files" pairs with a right directory "_files";
    // a pair takes precedence over Restricted.
    auto left = Rows({{"a_files", Normal},
                      {"Hidden_files", Restricted},
                      {"lonely_files", Restricted},
                      {"Page_FILES", Normal},
                      {"solo_files", Normal},
                      {"_files_files", Normal},
                      {"ab_files", Normal}});
    auto right = Rows({{"beta", Normal},
                       {"hidden", Normal},
                       {"PAGE", Restricted},
                       {"Alpha", Normal},
                       {"z", Normal},
                       {"alpha", Restricted},
                       {"_files", Normal},
                       {"A", Normal},
                       {"a", Normal},
                       {"abc", Normal}});
    right[0].selected = right[4].selected = true;  // a selection from before the refresh
    SortRows(right, text::AsciiCaseKey);
    std::vector<std::string> names;
    for (auto& r : right) names.push_back(r.name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"_files", "A", "a", "abc", "Alpha", "alpha", "beta", "hidden", "PAGE", "z"}));
    MarkPairs(left, right, text::AsciiCaseKey);
    EXPECT_EQ(Images(left), (std::vector<DirClass>{Pair, Pair, Restricted, Pair, Normal, Pair, Normal}));
    EXPECT_EQ(Images(right),
              (std::vector<DirClass>{Pair, Pair, Pair, Normal, Normal, Restricted, Normal, Pair, Pair, Normal}));
    // Exactly the Normal left rows are preselected; nothing on the right.
    std::vector<bool> selected;
    for (auto& r : left) selected.push_back(r.selected);
    EXPECT_EQ(selected, (std::vector<bool>{false, false, false, false, true, false, true}));
    for (auto& r : right) EXPECT_FALSE(r.selected) << r.name;
}

TEST(PlanMoves, MovesSelectedNormalRowsToTheOppositeSide) {
    std::vector<DirRow> left = {{"A_files", Normal, true},
                                {"B_files", Normal, false},
                                {"C_files", Pair, true},
                                {"D_files", Restricted, true},
                                {"Page_FILES", Normal, true}};
    std::vector<DirRow> right = {{"_files", Normal, true}, {"x y", Normal, true}, {"z", Restricted, true}};

    EXPECT_EQ(Steps(left, LeftSide(), RightSide()),
              (std::vector<std::string>{"A_files > _files\\A", "Page_FILES > _files\\Page"}));
    EXPECT_EQ(Steps(right, RightSide(), LeftSide()),
              (std::vector<std::string>{"_files\\_files > _files_files", "_files\\x y > x y_files"}));
}
