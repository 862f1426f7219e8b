// The two ways TransparentCopy copies, reachable one by one for tests.
#pragma once

#include <windows.h>

#include "layoutpage/layout_preview.h"

namespace qx {

// TransparentBlt from `bltModule`, loaded for this call and freed again.
// FALSE when the module or the function is missing or the call fails.
BOOL CopyThroughTransparentBlt(HDC dst, int dstX, int dstY, int dstWidth, int dstHeight,
                               HDC src, int srcX, int srcY, int srcWidth, int srcHeight,
                               COLORREF transparent, const wchar_t *bltModule = kTransparentBltModule);

// The same picture by monochrome masks, unstretched: the source's size (in
// its logical units) is used on both sides. The source's pixels are put back
// afterwards. FALSE when a DC or bitmap could not be made.
BOOL CopyThroughMasks(HDC dst, int dstX, int dstY, HDC src, int srcX, int srcY,
                      int srcWidth, int srcHeight, COLORREF transparent);

}  // namespace qx
