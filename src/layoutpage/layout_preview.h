// The preview picture of the Layout page: a sheet picture chosen from the
// driver's layout items, with a binding overlay for two-sided printing,
// composed off-screen and drawn into the page's preview frame.
#pragma once

#include <windows.h>

#include "platform/printoem.h"

namespace qx {

// The module that provides TransparentBlt. The drawing functions take another
// name so that a missing module (and the mask copy) can be exercised.
inline constexpr wchar_t kTransparentBltModule[] = L"Msimg32.dll";

// Draws the preview for the page's WM_PAINT (does BeginPaint/EndPaint).
void PaintLayoutPreview(HWND page, POEMCUIPPARAM block, const wchar_t *bltModule = kTransparentBltModule);

// Picks the sheet picture and binding overlay (0: none) for the block's items.
// FALSE, with both ids unchanged, when the block has no item array. Callers
// pass IDB_SHEET_COLOR_PORTRAIT and 0 as defaults.
BOOL SelectPreviewBitmaps(POEMCUIPPARAM block, DWORD *sheetId, DWORD *overlayId);

// Copies src onto dst leaving pixels of the transparent colour out: through
// msimg32's TransparentBlt, or by masks when that is unavailable or fails.
void TransparentCopy(HDC dst, int dstX, int dstY, int dstWidth, int dstHeight,
                     HDC src, int srcX, int srcY, int srcWidth, int srcHeight,
                     COLORREF transparent, const wchar_t *bltModule = kTransparentBltModule);

}  // namespace qx
