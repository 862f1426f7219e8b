#include "layoutpage/layout_preview.h"

#include "activation/activation.h"
#include "platform/win_handles.h"
#include "layoutpage/preview_choice.h"
#include "layoutpage/preview_copy.h"
#include "layoutpage/preview_gdi.h"
#include "platform/build_variant.h"
#include "resources/ids_artwork.h"
#include "resources/ids_layoutpage.h"

namespace qx {

namespace {

constexpr COLORREF kPictureBackground = RGB(0, 128, 128);
constexpr COLORREF kOverlaySheetFill = RGB(255, 174, 201);

using TransparentBltProc = BOOL(WINAPI *)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

// Fills a rectangle of the DC with the window background colour.
void FillWithWindowColor(HDC dc, int x, int y, int width, int height) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
  if (!brush) return;
  Selection selected(dc, brush.get());
  if (selected) PatBlt(dc, x, y, width, height, PATCOPY);
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!GetObjectW(bitmap, sizeof info, &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

// Draws the overlay's non-transparent pixels into the picture selected in
// pictureDc.
void DrawOverlay(HDC pictureDc, SIZE picture, HBITMAP overlay, const wchar_t *bltModule) {
  MemoryDc overlayDc(pictureDc);
  if (!overlayDc) return;
  Selection selected(overlayDc.get(), overlay);
  if (!selected) return;
  const SIZE size = BitmapSize(overlay);
  TransparentCopy(pictureDc, 0, 0, picture.cx, picture.cy, overlayDc.get(), 0, 0, size.cx, size.cy,
                  kOverlaySheetFill, bltModule);
}

// Composes the picture off-screen on the window colour and puts it on the
// screen with one BitBlt.
void DrawPicture(HDC paintDc, HDC pictureDc, HDC compositionDc, const RECT &area, HBITMAP sheet,
                 HBITMAP overlay, const wchar_t *bltModule) {
  const SIZE size = BitmapSize(sheet);
  const int x = area.left + (area.right - area.left - size.cx) / 2;
  const int y = area.top + (area.bottom - area.top - size.cy) / 2;
  Selection sheetSelected(pictureDc, sheet);
  if (!sheetSelected) return;
  if (overlay) DrawOverlay(pictureDc, size, overlay, bltModule);

  GdiObject<HBITMAP> composition(CreateCompatibleBitmap(pictureDc, size.cx, size.cy));
  if (!composition) return;
  Selection compositionSelected(compositionDc, composition.get());
  if (!compositionSelected) return;
  FillWithWindowColor(compositionDc, 0, 0, size.cx, size.cy);
  TransparentCopy(compositionDc, 0, 0, size.cx, size.cy, pictureDc, 0, 0, size.cx, size.cy,
                  kPictureBackground, bltModule);
  BitBlt(paintDc, x, y, size.cx, size.cy, compositionDc, 0, 0, SRCCOPY);
}

HBITMAP LoadPreviewBitmap(POEMCUIPPARAM block, DWORD id) {
  return LoadBitmapW(static_cast<HINSTANCE>(block->hModule), MAKEINTRESOURCEW(id));
}

}  // namespace

BOOL SelectPreviewBitmaps(POEMCUIPPARAM block, DWORD *sheetId, DWORD *overlayId) {
  if (!block || !block->pDrvOptItems || !sheetId || !overlayId) return FALSE;
  PreviewSettings s;
  for (DWORD i = 0; i < block->cDrvOptItems; ++i) {
    const OPTITEM &item = block->pDrvOptItems[i];
    switch (item.DMPubID) {
      case DMPUB_COLOR: s.color = item.Sel; break;
      case DMPUB_ORIENTATION: s.orientation = item.Sel; break;
      case DMPUB_DUPLEX: s.duplex = item.Sel; break;
      case DMPUB_NUP: s.pagesPerSheet = item.Sel; break;
      case DMPUB_NUP_DIRECTION: if (!kReducedLayoutBuild) s.direction = item.Sel; break;
      case DMPUB_BOOKLET_EDGE: if (!kReducedLayoutBuild) s.bookletEdge = item.Sel; break;
      default: break;
    }
  }
  std::uint32_t sheet = *sheetId, overlay = *overlayId;
  ChoosePreviewBitmaps(s, !kReducedLayoutBuild, &sheet, &overlay);
  *sheetId = sheet;
  *overlayId = overlay;
  return TRUE;
}

void PaintLayoutPreview(HWND page, POEMCUIPPARAM block, const wchar_t *bltModule) {
  if (!page || !block) return;
  PaintSession paint(page);  // validates the page even when nothing is drawn
  if (!paint.dc()) return;
  HWND frame = GetDlgItem(page, IDC_PREVIEW_FRAME);
  RECT area{};
  if (!frame || !GetWindowRect(frame, &area)) return;
  // Both corners into the page's client coordinates (mirrored pages too).
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT *>(&area), 2);

  MemoryDc pictureDc(paint.dc());
  MemoryDc compositionDc(paint.dc());

  DWORD sheetId = IDB_SHEET_COLOR_PORTRAIT, overlayId = 0;
  SelectPreviewBitmaps(block, &sheetId, &overlayId);
  FillWithWindowColor(paint.dc(), area.left, area.top, area.right - area.left, area.bottom - area.top);

  GdiObject<HBITMAP> sheet(LoadPreviewBitmap(block, sheetId));
  GdiObject<HBITMAP> overlay(overlayId ? LoadPreviewBitmap(block, overlayId) : nullptr);
  if (sheet && pictureDc && compositionDc)
    DrawPicture(paint.dc(), pictureDc.get(), compositionDc.get(), area, sheet.get(), overlay.get(), bltModule);
}

void TransparentCopy(HDC dst, int dstX, int dstY, int dstWidth, int dstHeight,
                     HDC src, int srcX, int srcY, int srcWidth, int srcHeight,
                     COLORREF transparent, const wchar_t *bltModule) {
  if (!dst || !src) return;
  if (CopyThroughTransparentBlt(dst, dstX, dstY, dstWidth, dstHeight, src, srcX, srcY, srcWidth,
                                srcHeight, transparent, bltModule))
    return;
  CopyThroughMasks(dst, dstX, dstY, src, srcX, srcY, srcWidth, srcHeight, transparent);
}

BOOL CopyThroughTransparentBlt(HDC dst, int dstX, int dstY, int dstWidth, int dstHeight,
                               HDC src, int srcX, int srcY, int srcWidth, int srcHeight,
                               COLORREF transparent, const wchar_t *bltModule) {
  // Loaded per call under the plug-in's activation context, never kept.
  ModuleHandle msimg32(IsolatedLoadLibrary(bltModule));
  if (!msimg32) return FALSE;
  auto proc = reinterpret_cast<TransparentBltProc>(
      reinterpret_cast<void *>(GetProcAddress(msimg32.get(), "TransparentBlt")));
  if (!proc) return FALSE;
  return proc(dst, dstX, dstY, dstWidth, dstHeight, src, srcX, srcY, srcWidth, srcHeight, transparent);
}

BOOL CopyThroughMasks(HDC dst, int dstX, int dstY, HDC src, int srcX, int srcY,
                      int srcWidth, int srcHeight, COLORREF transparent) {
  if (!dst || !src) return FALSE;
  POINT size{srcWidth, srcHeight};
  DPtoLP(src, &size, 1);
  const int cx = size.x, cy = size.y;

  MemoryDc backDc(dst), objectDc(dst), memoryDc(dst), saveDc(dst);
  if (!backDc || !objectDc || !memoryDc || !saveDc) return FALSE;
  GdiObject<HBITMAP> back(CreateBitmap(cx, cy, 1, 1, nullptr));
  GdiObject<HBITMAP> object(CreateBitmap(cx, cy, 1, 1, nullptr));
  GdiObject<HBITMAP> memory(CreateCompatibleBitmap(dst, cx, cy));
  GdiObject<HBITMAP> save(CreateCompatibleBitmap(dst, cx, cy));
  if (!back || !object || !memory || !save) return FALSE;
  Selection backSelected(backDc.get(), back.get()), objectSelected(objectDc.get(), object.get()),
      memorySelected(memoryDc.get(), memory.get()), saveSelected(saveDc.get(), save.get());
  if (!backSelected || !objectSelected || !memorySelected || !saveSelected) return FALSE;

  SetMapMode(src, GetMapMode(dst));
  BitBlt(saveDc.get(), 0, 0, cx, cy, src, srcX, srcY, SRCCOPY);

  // Mask: 1 where the source has the transparent colour, 0 elsewhere.
  const COLORREF oldBack = SetBkColor(src, transparent);
  BitBlt(objectDc.get(), 0, 0, cx, cy, src, srcX, srcY, SRCCOPY);
  SetBkColor(src, oldBack);
  BitBlt(backDc.get(), 0, 0, cx, cy, objectDc.get(), 0, 0, NOTSRCCOPY);

  // Monochrome sources expand through the target's text (0) and background
  // (1) colours: black and white make the masks work as AND masks.
  SetTextColor(memoryDc.get(), RGB(0, 0, 0));
  SetBkColor(memoryDc.get(), RGB(255, 255, 255));
  BitBlt(memoryDc.get(), 0, 0, cx, cy, dst, dstX, dstY, SRCCOPY);
  BitBlt(memoryDc.get(), 0, 0, cx, cy, objectDc.get(), 0, 0, SRCAND);
  const COLORREF oldText = SetTextColor(src, RGB(0, 0, 0));
  const COLORREF oldSourceBack = SetBkColor(src, RGB(255, 255, 255));
  BitBlt(src, srcX, srcY, cx, cy, backDc.get(), 0, 0, SRCAND);
  SetTextColor(src, oldText);
  SetBkColor(src, oldSourceBack);
  BitBlt(memoryDc.get(), 0, 0, cx, cy, src, srcX, srcY, SRCPAINT);
  BitBlt(dst, dstX, dstY, cx, cy, memoryDc.get(), 0, 0, SRCCOPY);
  BitBlt(src, srcX, srcY, cx, cy, saveDc.get(), 0, 0, SRCCOPY);  // the source's own pixels again
  return TRUE;
}

}  // namespace qx
