#include "WindowPosition.h"

#include "Registry.h"

#include <algorithm>
#include <vector>

namespace fw {

namespace {

RECT ChildRect(HWND window, HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Takes up to by pixels off the window's width (wide) or height, each of
// the controls given an equal part, none more than two thirds of its own;
// every control moves by what the shrinking ones nearer the left (or top)
// edge than its own gave. The pixels taken.
int Shrink(HWND window, std::initializer_list<int> shrinkable, int by, bool wide) {
    const auto start = [wide](const RECT& r) { return wide ? r.left : r.top; };
    std::vector<int> starts;
    int share = shrinkable.size() == 0 ? 0 : (by + int(shrinkable.size()) - 1) / int(shrinkable.size());
    for (int id : shrinkable) {
        const RECT rect = ChildRect(window, GetDlgItem(window, id));
        starts.push_back(start(rect));
        share = std::min<int>(share, (wide ? rect.right - rect.left : rect.bottom - rect.top) * 2 / 3);
    }
    if (share <= 0) return 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT rect = ChildRect(window, child);
        const int shift =
            share * int(std::count_if(starts.begin(), starts.end(), [&](int s) { return s < start(rect); }));
        const int less =
            std::find(shrinkable.begin(), shrinkable.end(), GetDlgCtrlID(child)) != shrinkable.end() ? share : 0;
        SetWindowPos(child, nullptr, rect.left - (wide ? shift : 0), rect.top - (wide ? 0 : shift),
                     rect.right - rect.left - (wide ? less : 0), rect.bottom - rect.top - (wide ? 0 : less),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT rect;
    GetWindowRect(window, &rect);
    by = share * int(shrinkable.size());
    SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left - (wide ? by : 0),
                 rect.bottom - rect.top - (wide ? 0 : by), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return by;
}

}  // namespace

bool LoadWindowPosition(const char* keyPath, POINT& position) {
    RegistryKey key;
    return key.OpenForReading(HKEY_CURRENT_USER, keyPath) && ReadWindowPosition(key, position);
}

bool ReadWindowPosition(const RegistryKey& key, POINT& position) {
    DWORD left = 0, top = 0;
    bool haveLeft = key.ReadDword("Left", left);
    bool haveTop = key.ReadDword("Top", top);
    if (!haveLeft || !haveTop) return false;
    position = {static_cast<LONG>(left), static_cast<LONG>(top)};
    return true;
}

void ApplyWindowPosition(HWND window, POINT position) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return;
    OffsetRect(&rect, position.x - rect.left, position.y - rect.top);
    if (MonitorFromRect(&rect, MONITOR_DEFAULTTONULL))
        SetWindowPos(window, nullptr, position.x, position.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void KeepInWorkArea(HWND window, std::initializer_list<int> tall, std::initializer_list<int> wide) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return;
    MONITORINFO monitor{sizeof monitor};
    if (!GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    const int overHeight = (rect.bottom - rect.top) - (work.bottom - work.top);
    const int overWidth = (rect.right - rect.left) - (work.right - work.left);
    if (overHeight > 0) Shrink(window, tall, overHeight, false);
    if (overWidth > 0) Shrink(window, wide, overWidth, true);
    GetWindowRect(window, &rect);
    const int x = std::max<int>(work.left, std::min<int>(rect.left, work.right - (rect.right - rect.left)));
    const int y = std::max<int>(work.top, std::min<int>(rect.top, work.bottom - (rect.bottom - rect.top)));
    if (x != rect.left || y != rect.top)
        SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SaveWindowPosition(const char* keyPath, HWND window) {
    RegistryKey key;
    if (key.CreateForWriting(HKEY_CURRENT_USER, keyPath)) WriteWindowPosition(key, window);
}

void WriteWindowPosition(const RegistryKey& key, HWND window) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return;
    key.WriteDword("Top", static_cast<DWORD>(rect.top));
    key.WriteDword("Left", static_cast<DWORD>(rect.left));
}

}  // namespace fw
