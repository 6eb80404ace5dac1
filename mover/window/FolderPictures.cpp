#include "FolderPictures.h"

#include "resource.h"

namespace mover {

namespace {

struct Strip {
    int size;
    int id;
};

const Strip strips[] = {{16, IDB_FOLDERS16}, {20, IDB_FOLDERS20}, {24, IDB_FOLDERS24}, {32, IDB_FOLDERS32}};

const int pictureCount = 3;

}  // namespace

int FolderPictureSize(UINT dpi) {
    int size = strips[0].size;
    for (const Strip& strip : strips)
        if (dpi * 16 >= static_cast<UINT>(strip.size) * 96) size = strip.size;
    return size;
}

UINT WindowDpi(HWND window) {
    // GetDpiForWindow comes with Windows 10 version 1607.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (dpiForWindow)
        if (UINT dpi = dpiForWindow(window)) return dpi;
    HDC dc = GetDC(window);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (dc) ReleaseDC(window, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

bool LoadFolderPictures(fw::ImageList& list, int size) {
    for (const Strip& strip : strips) {
        if (strip.size != size) continue;
        // A DIB section keeps the strip's alpha, which the image list draws by.
        auto bitmap = static_cast<HBITMAP>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(strip.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (!bitmap) return false;
        fw::ImageList made;
        if (made.Create(size, size, ILC_COLOR32, pictureCount, 0) && made.Add(bitmap, nullptr) < 0) made.Destroy();
        DeleteObject(bitmap);
        if (!made.handle) return false;
        list = made;
        return true;
    }
    return false;
}

HBITMAP FolderPictureOn(const fw::ImageList& list, int index, COLORREF background) {
    int width = 0, height = 0;
    if (!ImageList_GetIconSize(list.handle, &width, &height)) return nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (bitmap && dc) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        HBRUSH brush = CreateSolidBrush(background);
        const RECT all{0, 0, width, height};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        ImageList_Draw(list.handle, index, dc, 0, 0, ILD_NORMAL);
        SelectObject(dc, old);
    }
    if (dc) DeleteDC(dc);
    return bitmap;
}

}  // namespace mover
