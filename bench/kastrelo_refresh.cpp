// Times a refresh of Kastrelo's window on many directories, beside a bare
// enumeration of the same directories. Prints figures; asserts nothing.
//
//   kastrelo_refresh [count]    count left and count right directories
//                               (default 5000), half of them paired

#include "mover/window/MoverDlg.h"
#include "mover/window/resource.h"

#include "BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace bench;

}  // namespace

int main(int argc, char** argv) {
    int count = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int rounds = 5;
    const std::string root = "C:\\kastrelo-bench";

    RemoveTree(root);
    CreateDirectoryA(root.c_str(), nullptr);
    SetCurrentDirectoryA(root.c_str());
    CreateDirectoryA("_files", nullptr);
    char name[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "Page %05d_files", i);
        CreateDirectoryA(name, nullptr);
        // Half of the right side pairs with the left side.
        std::snprintf(name, sizeof name, i % 2 ? "_files\\page %05d" : "_files\\other %05d", i);
        CreateDirectoryA(name, nullptr);
    }

    std::vector<double> bare;
    for (int r = 0; r < rounds; ++r) {
        auto start = Clock::now();
        int found = BareEnumeration("*_files", true) + BareEnumeration("_files\\*.*", true);
        bare.push_back(Milliseconds(Clock::now() - start));
        if (found != 2 * count + 3)  // with "_files", "." and ".."
            std::printf("unexpected count %d\n", found);
    }

    mover::CMoverDlg dialog;
    if (!dialog.Create()) {
        std::printf("the window could not be made\n");
        return 1;
    }
    ShowWindow(dialog.Handle(), SW_SHOW);
    Pump();

    std::vector<double> refresh;
    for (int r = 0; r < rounds; ++r) {
        auto start = Clock::now();
        dialog.RefreshLists();
        UpdateWindow(dialog.Handle());  // the repaint belongs to the refresh
        Pump();
        refresh.push_back(Milliseconds(Clock::now() - start));
    }
    int leftRows = ListView_GetItemCount(dialog.Item(IDC_LEFT_LIST));
    int rightRows = ListView_GetItemCount(dialog.Item(IDC_RIGHT_LIST));
    int selected = ListView_GetSelectedCount(dialog.Item(IDC_LEFT_LIST));
    dialog.Destroy();
    SetCurrentDirectoryA("C:\\");
    RemoveTree(root);

    double bareMs = Median(bare), refreshMs = Median(refresh);
    std::printf("directories: %d left + %d right, half of them paired\n", count, count);
    std::printf("rows shown: %d left (%d selected), %d right\n", leftRows, selected, rightRows);
    std::printf("bare enumeration:  %8.1f ms (median of %d)\n", bareMs, rounds);
    std::printf("window refresh:    %8.1f ms (median of %d, with repaint)\n", refreshMs, rounds);
    std::printf("refresh / bare:    %8.2f (goal: at most 3)\n", refreshMs / bareMs);
    return 0;
}
