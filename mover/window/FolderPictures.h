#pragma once
// Kastrelo's folder pictures (normal, pair, restricted), drawn at 16, 20, 24
// and 32 pixels in full colour, chosen by the scale of the window that shows
// them.

#include "framework/Controls.h"

namespace mover {

// The pictures' size in pixels at a DPI: 16 at 96, 20 at 120, 24 at 144 and
// 32 from 192; between them the smaller.
int FolderPictureSize(UINT dpi);

// The DPI a window is shown at; the screen's where Windows cannot tell.
UINT WindowDpi(HWND window);

// Makes list an image list of the three pictures at size pixels (32-bit
// colour with alpha); false, with list left alone, when there is no strip
// of that size.
bool LoadFolderPictures(fw::ImageList& list, int size);

// Picture index of the list drawn on a background colour, for a static
// control; null if it cannot be made. The caller deletes it.
HBITMAP FolderPictureOn(const fw::ImageList& list, int index, COLORREF background);

}  // namespace mover
