#include "StatusWindow.h"

namespace runner {

void StatusWindow::Attach(HWND editWindow, HWND fileCountWindow) {
    edit.hwnd = editWindow;
    fileCount.hwnd = fileCountWindow;
    // The default limit (about 32 K characters) would cut a long listing or
    // run log; 0 asks for the largest the control can hold.
    edit.LimitText(0);
}

void StatusWindow::Set(std::string_view text) {
    pending.assign(text).append("\r\n");
    replaceAll = true;
    FlushIfDue();
}

void StatusWindow::Append(std::string_view text) {
    pending.append(text).append("\r\n");
    FlushIfDue();
}

void StatusWindow::SetFileCount(std::string text) {
    pendingCount = std::move(text);
    countPending = true;
    FlushIfDue();
}

void StatusWindow::SelectAll() {
    Flush();
    edit.SetFocus();
    edit.SetSel(0, -1);
    edit.ScrollCaret();
}

void StatusWindow::FlushIfDue() {
    // A long text costs the control more for every slice: the pause grows
    // with what the last slice cost, so that drawing takes at most a third
    // of the time.
    const unsigned long long pause = lastFlushCost * 2 > sliceMs ? lastFlushCost * 2 : sliceMs;
    if (GetTickCount64() - lastFlush >= pause) Flush();
}

void StatusWindow::Flush() {
    const unsigned long long start = GetTickCount64();
    if (replaceAll) {
        edit.Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pending.c_str()));
        const int end = static_cast<int>(edit.Send(WM_GETTEXTLENGTH));
        edit.SetSel(end, end);
        edit.ScrollCaret();
    } else if (!pending.empty()) {
        // At the end, wherever the user put the caret or what they selected:
        // the log stays in order, and a selection stays for copying.
        DWORD start = 0, end = 0;
        edit.Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        const DWORD length = static_cast<DWORD>(edit.Send(WM_GETTEXTLENGTH));
        edit.SetSel(static_cast<int>(length), static_cast<int>(length));
        edit.ReplaceSel(pending.c_str());
        if (start != length || end != length) edit.SetSel(static_cast<int>(start), static_cast<int>(end));
    }
    const bool drawEdit = replaceAll || !pending.empty();
    pending.clear();
    replaceAll = false;
    if (countPending) {
        fileCount.SetText(pendingCount);
        countPending = false;
        UpdateWindow(fileCount.hwnd);
    }
    if (drawEdit) UpdateWindow(edit.hwnd);
    lastFlush = GetTickCount64();
    lastFlushCost = lastFlush - start;
}

}  // namespace runner
