#pragma once
// One of Kastrelo's two directory lists. The list keeps its rows itself and
// the list view only shows them (it asks for each visible row's text and
// image), so a refresh of thousands of directories costs an enumeration and
// a sort, not a control insertion per row. The list view keeps the selection.

#include "framework/Controls.h"
#include "mover/core/DirLists.h"

#include <vector>

namespace mover {

class CDirListCtrl : public fw::ListView {
public:
    // Called once for each list while the main window initialises.
    void Setup(const char* pattern, const char* prefix, bool cwdSide, CDirListCtrl* opposite);

    // Rebuilds the rows from the file system, sorted by name, none selected;
    // the list shows them from ShowRows on. Returns true only for the left
    // list and only when the working directory holds a directory "_files".
    bool Scan();

    // Renames every selected Normal row's directory to the opposite side.
    // A rename the file system refuses leaves that directory where it was.
    void MoveSelected();

    // Shows the rows with their images and selection.
    void ShowRows();

    std::vector<DirRow>& Rows() { return rows; }
    // Directories the last Scan left out: this Windows could not give their names.
    int UnknownNames() const { return unknownNames; }

    // The list view's questions about the rows (sent to the main window).
    LRESULT OnGetDispInfo(NMHDR* header);
    LRESULT OnFindItem(NMHDR* header);

    // Orders and pairs names as the platform compares them ignoring case.
    static std::string CollationKey(const std::string& name);

private:
    int TextWidth(HDC dc, const std::string& text) const;
    int PictureSize() const;  // the width of the rows' pictures
    void ReadSelection();

    CDirListCtrl* opposite = nullptr;
    ListSide side;
    std::vector<DirRow> rows;
    int unknownNames = 0;
};

}  // namespace mover
