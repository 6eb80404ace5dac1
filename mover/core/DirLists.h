#pragma once
// What Kastrelo's two directory lists hold and how they are worked out:
// which enumerated entries become rows, their class (also their image),
// pairs, preselection, and where a Move takes each selected row.
//
// Left list: the directories "NN_files" of the working directory.
// Right list: every directory inside the working directory's "_files".
// All paths are relative to the working directory.

#include <cstdint>
#include <string>
#include <vector>

namespace mover {

// A listed directory's class; the value is its index in the image list.
enum DirClass : int {
    Normal = 0,      // movable
    Pair = 1,        // has a partner on the other side; not movable
    Restricted = 2,  // read-only, hidden or system; not movable
};

inline constexpr char filesSuffix[] = "_files";
inline constexpr std::size_t filesSuffixLength = 6;

struct ListSide {
    bool cwdSide;         // true for the left list
    std::string pattern;  // what to enumerate
    std::string prefix;   // the side's directory, to build paths
};

ListSide LeftSide();   // "*_files", ""
ListSide RightSide();  // "_files\\*.*", "_files\\"

struct DirRow {
    std::string name;  // the long name as enumerated
    DirClass image = Normal;
    bool selected = false;
    std::string key;  // collation key of name, set by SortRows
};

enum class Found {
    Skipped,            // files, "." and "..", names the side does not list
    FilesSubdirectory,  // the left side's "_files" itself: never listed
    Listed,
};

// What one enumerated entry becomes on a side (attributes: text::FileAttribute
// bits); sets image for Listed.
Found ClassifyEntry(const ListSide& side, const std::string& name, std::uint32_t attributes, DirClass& image);

// A name's collation key: two names compare, ignoring case, as their keys
// compare byte by byte. Working out each key once keeps sorting and pairing
// cheap where the platform's comparison is not. text::AsciiCaseKey is one.
using CollationKey = std::string (*)(const std::string& name);

// Sets each row's key and orders the rows ascending by key; rows with equal
// keys keep their enumeration order.
void SortRows(std::vector<DirRow>& rows, CollationKey keyOf);

// The pair pass: a left row "NN_files" and a right row "NN" (ignoring case)
// both become Pair. Afterwards exactly the Normal left rows are selected and
// no right row is. The right rows must have been sorted with the same keyOf.
void MarkPairs(std::vector<DirRow>& left, std::vector<DirRow>& right, CollationKey keyOf);

// The name a row's directory gets on the other side: "NN_files" -> "NN" on
// the left; "NN" -> "NN_files" on the right (the suffix always lower case).
std::string NewName(const ListSide& side, const std::string& name);

struct MoveStep {
    std::string source;
    std::string target;
};

// The renames a Move makes for one list: every selected Normal row, in row
// order, from this side's prefix to the opposite side's.
std::vector<MoveStep> PlanMoves(const std::vector<DirRow>& rows, const ListSide& side, const ListSide& opposite);

}  // namespace mover
