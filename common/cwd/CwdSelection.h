#pragma once
// Choosing the working directory through the shell's folder chooser, shared
// by both programs: from the working directory's parent (the Change button)
// or from the desktop (a double-click on the working directory field).

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace cwd {

// The text before the last backslash; all of it when there is none.
// C:\WORK\JOBS gives C:\WORK; C:\WORK and C:\ both give C:.
std::string ParentOfCwd(const std::string& cwd);

// An item identifier list handed out by the shell, freed with the shell's
// allocator when the object goes. Empty stands for the desktop.
class ShellItem {
public:
    ShellItem() = default;
    explicit ShellItem(LPITEMIDLIST item) : item(item) {}
    ~ShellItem();
    ShellItem(ShellItem&& other) noexcept : item(other.item) { other.item = nullptr; }
    ShellItem& operator=(ShellItem&&) = delete;
    ShellItem(const ShellItem&) = delete;

    LPCITEMIDLIST Get() const { return item; }
    explicit operator bool() const { return item != nullptr; }

private:
    LPITEMIDLIST item = nullptr;
};

// The shell item of a path, parsed by the desktop folder; empty on failure.
ShellItem ParsePath(HWND owner, const std::string& path);

// Shows the folder chooser (file-system directories only, no folder
// preselected) with the given root and title. When the user chooses a folder
// that has a path, cwd becomes that path, the path becomes the process's
// current directory (a failure there is not reported) and the result is
// true. A chosen folder without a path shows "Directory browsing failed";
// cancel and failure leave cwd alone and give false.
bool BrowseForCwd(HWND owner, const ShellItem& root, const char* title, std::string& cwd);

// Whether a double-click truly lands on the field: the message is addressed
// to the field or to its dialog and its point, in that window's client
// coordinates, lies within the field's rectangle.
bool IsDoubleClickOn(const MSG& msg, HWND field);

}  // namespace cwd
