// The two ways TransparentCopy copies, reachable one by one for tests.
#pragma once

#include <windows.h>

namespace qx {

// Module that provides TransparentBlt; tests name a missing one to exercise
// the mask copy through a whole paint.
extern const wchar_t *g_transparentBltModule;

// TransparentBlt from the module above, loaded for this call and freed again.
// FALSE when the module or the function is missing or the call fails.
BOOL CopyThroughTransparentBlt(HDC dst, int dstX, int dstY, int dstWidth, int dstHeight,
                               HDC src, int srcX, int srcY, int srcWidth, int srcHeight,
                               COLORREF transparent);

// The same picture by monochrome masks, unstretched: the source's size (in
// its logical units) is used on both sides. The source's pixels are put back
// afterwards. FALSE when a DC or bitmap could not be made.
BOOL CopyThroughMasks(HDC dst, int dstX, int dstY, HDC src, int srcX, int srcY,
                      int srcWidth, int srcHeight, COLORREF transparent);

}  // namespace qx
