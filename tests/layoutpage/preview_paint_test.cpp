// The preview under Wine: the bitmap choice from driver items, both ways of
// the transparent copy, whole paints compared pixel by pixel with the
// resources they draw, and the artwork that each build carries.
#include <gtest/gtest.h>

#include <winternl.h>

#include <set>
#include <vector>

#include "layoutpage/layout_preview.h"
#include "layoutpage/preview_copy.h"
#include "platform/build_variant.h"
#include "resources/ids_layoutpage.h"
#include "support/plugin_loader.h"

namespace {

constexpr COLORREF kKey = RGB(0, 128, 128);
constexpr BYTE kNupDirection = 18, kBookletEdge = 21;  // not named by the NT 5.2 headers
constexpr COLORREF kOverlayKey = RGB(255, 174, 201);

// The module's resources, linked into the test program from the DLL's script.
HMODULE Plugin() { return GetModuleHandleW(nullptr); }

OPTITEM Item(BYTE pubId, LONG sel) {
  OPTITEM item{};
  item.cbSize = sizeof item;
  item.DMPubID = pubId;
  item.Sel = sel;
  return item;
}

OEMCUIPPARAM Block(std::vector<OPTITEM> &items, HMODULE module = Plugin()) {
  OEMCUIPPARAM block{};
  block.cbSize = sizeof block;
  block.hModule = module;
  block.pDrvOptItems = items.empty() ? nullptr : items.data();
  block.cDrvOptItems = static_cast<DWORD>(items.size());
  return block;
}

// Pixels of a bitmap or DC area as COLORREFs, row by row from the top.
class Pixels {
 public:
  Pixels(HDC dc, HBITMAP bitmap, int width, int height) : width_(width), data_(width * height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    ok_ = GetDIBits(dc, bitmap, 0, height, data_.data(), &info, DIB_RGB_COLORS) == height;
  }
  bool ok() const { return ok_; }
  COLORREF at(int x, int y) const {
    const DWORD v = data_[y * width_ + x];
    return RGB(v >> 16 & 0xff, v >> 8 & 0xff, v & 0xff);
  }

 private:
  int width_;
  std::vector<DWORD> data_;
  bool ok_ = false;
};

Pixels ResourcePixels(WORD id) {
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageW(Plugin(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  HDC screen = GetDC(nullptr);
  Pixels p(screen, bitmap, 200, 170);
  ReleaseDC(nullptr, screen);
  DeleteObject(bitmap);
  return p;
}

// ---------------------------------------------------------------- resources

BOOL CALLBACK CollectId(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
  if (IS_INTRESOURCE(name)) reinterpret_cast<std::set<WORD> *>(param)->insert(LOWORD(name));
  return TRUE;
}

std::set<WORD> ResourceIds(LPCWSTR type) {
  std::set<WORD> ids;
  EnumResourceNamesW(Plugin(), type, CollectId, reinterpret_cast<LONG_PTR>(&ids));
  return ids;
}

TEST(PreviewArtwork, TheDllCarries106BitmapsOfTheDocumentedForm) {
  ASSERT_NE(Plugin(), nullptr);
  const std::set<WORD> ids = ResourceIds(RT_BITMAP);
  ASSERT_EQ(ids.size(), 106u);
  for (WORD id : ids) {
    SCOPED_TRACE(id);
    HRSRC res = FindResourceW(Plugin(), MAKEINTRESOURCEW(id), RT_BITMAP);
    ASSERT_NE(res, nullptr);
    EXPECT_EQ(SizeofResource(Plugin(), res), 102042u);
    auto *header = static_cast<const BITMAPINFOHEADER *>(LockResource(LoadResource(Plugin(), res)));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biSize, 40u);
    EXPECT_EQ(header->biWidth, 200);
    EXPECT_EQ(header->biHeight, 170);
    EXPECT_EQ(header->biBitCount, 24);
    EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(ResourcePixels(id).at(0, 0), kKey);  // background in the corner
  }
  EXPECT_TRUE(ids.count(12101) && ids.count(12106) && ids.count(12155) && ids.count(12276));
  EXPECT_TRUE(ids.count(12301) && ids.count(12317) && ids.count(12337));
}

TEST(PreviewArtwork, TheDllCarries17IconsOf20By20) {
  const std::set<WORD> expected = {12001, 12011, 12012, 12013, 12014, 12015, 12016, 12021, 12022,
                                   12023, 12024, 12025, 12026, 12027, 12028, 12029, 12030};
  EXPECT_EQ(ResourceIds(RT_GROUP_ICON), expected);
  for (WORD id : expected) {
    SCOPED_TRACE(id);
    HICON icon = static_cast<HICON>(
        LoadImageW(Plugin(), MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP color{};
    ASSERT_TRUE(GetObjectW(info.hbmColor, sizeof color, &color));
    EXPECT_EQ(color.bmWidth, 20);
    EXPECT_EQ(color.bmHeight, 20);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

// ------------------------------------------------------ choice from items

TEST(SelectPreviewBitmaps, WithoutItemsNothingChanges) {
  std::vector<OPTITEM> none;
  OEMCUIPPARAM block = Block(none);
  DWORD sheet = 12101, overlay = 0;
  EXPECT_FALSE(qx::SelectPreviewBitmaps(&block, &sheet, &overlay));
  EXPECT_EQ(sheet, 12101u);
  EXPECT_EQ(overlay, 0u);
  EXPECT_FALSE(qx::SelectPreviewBitmaps(nullptr, &sheet, &overlay));
}

TEST(SelectPreviewBitmaps, AnEmptyArrayIsAMonochromePortraitSheet) {
  std::vector<OPTITEM> items = {Item(DMPUB_COPIES_COLLATE, 3)};
  OEMCUIPPARAM block = Block(items);
  block.cDrvOptItems = 0;
  DWORD sheet = 12101, overlay = 0;
  EXPECT_TRUE(qx::SelectPreviewBitmaps(&block, &sheet, &overlay));
  EXPECT_EQ(sheet, 12201u);
  EXPECT_EQ(overlay, 0u);
}

TEST(SelectPreviewBitmaps, TheLastItemOfEachIdCounts) {
  std::vector<OPTITEM> items = {Item(DMPUB_COLOR, 0),          Item(DMPUB_ORIENTATION, 0),
                                Item(DMPUB_NUP, 2),            Item(kNupDirection, 3),
                                Item(DMPUB_DUPLEX, 2),         Item(DMPUB_COLOR, 1),
                                Item(DMPUB_ORIENTATION, 2),    Item(kBookletEdge, 1)};
  OEMCUIPPARAM block = Block(items);
  DWORD sheet = 12101, overlay = 0;
  ASSERT_TRUE(qx::SelectPreviewBitmaps(&block, &sheet, &overlay));
  // Colour landscape, 4 pages down then left; the reduced build does not read
  // the direction and shows right then down.
  EXPECT_EQ(sheet, qx::kReducedLayoutBuild ? 12159u : 12162u);
  EXPECT_EQ(overlay, 12328u);  // long edge of a landscape sheet: its top
}

// --------------------------------------------------------- transparent copy

struct Canvas {
  Canvas(int w, int h, COLORREF fill) : width(w), height(h) {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc, bitmap);
    Fill(RECT{0, 0, w, h}, fill);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  void Fill(RECT r, COLORREF c) {
    HBRUSH brush = CreateSolidBrush(c);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  int width, height;
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
};

class TransparentCopyTest : public ::testing::TestWithParam<bool> {};

TEST_P(TransparentCopyTest, KeyedPixelsLeaveTheDestinationAndTheSourceIntact) {
  Canvas src(40, 30, kKey), dst(40, 30, RGB(0, 0, 255));
  src.Fill(RECT{10, 10, 30, 20}, RGB(255, 0, 0));
  src.Fill(RECT{0, 29, 40, 30}, RGB(1, 2, 3));  // a row that is near, not equal to, black
  if (GetParam()) {
    ASSERT_TRUE(qx::CopyThroughTransparentBlt(dst.dc, 0, 0, 40, 30, src.dc, 0, 0, 40, 30, kKey));
  } else {
    ASSERT_TRUE(qx::CopyThroughMasks(dst.dc, 0, 0, src.dc, 0, 0, 40, 30, kKey));
  }
  EXPECT_EQ(GetPixel(dst.dc, 5, 5), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dst.dc, 39, 0), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dst.dc, 10, 10), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dst.dc, 29, 19), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dst.dc, 30, 19), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dst.dc, 20, 29), RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(src.dc, 5, 5), kKey);
  EXPECT_EQ(GetPixel(src.dc, 15, 15), RGB(255, 0, 0));
  EXPECT_EQ(GetModuleHandleW(L"msimg32.dll"), nullptr);  // loaded for the copy only
}

INSTANTIATE_TEST_SUITE_P(BothWays, TransparentCopyTest, ::testing::Values(true, false),
                         [](const auto &info) { return info.param ? "TransparentBlt" : "Masks"; });

// The TransparentBlt module the test's copies and paints name.
const wchar_t *g_bltModule = qx::kTransparentBltModule;

TEST(TransparentCopy, NullDcsAndAMissingModule) {
  Canvas src(8, 8, kKey), dst(8, 8, RGB(0, 0, 255));
  src.Fill(RECT{0, 0, 4, 8}, RGB(0, 255, 0));
  qx::TransparentCopy(nullptr, 0, 0, 8, 8, src.dc, 0, 0, 8, 8, kKey);
  qx::TransparentCopy(dst.dc, 0, 0, 8, 8, nullptr, 0, 0, 8, 8, kKey);
  EXPECT_EQ(GetPixel(dst.dc, 1, 1), RGB(0, 0, 255));

  const wchar_t *saved = g_bltModule;
  g_bltModule = L"qx-no-such-msimg.dll";
  EXPECT_FALSE(qx::CopyThroughTransparentBlt(dst.dc, 0, 0, 8, 8, src.dc, 0, 0, 8, 8, kKey, g_bltModule));
  qx::TransparentCopy(dst.dc, 0, 0, 8, 8, src.dc, 0, 0, 8, 8, kKey, g_bltModule);  // falls back to masks
  g_bltModule = saved;
  EXPECT_EQ(GetPixel(dst.dc, 1, 1), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(dst.dc, 6, 1), RGB(0, 0, 255));
}

// -------------------------------------------------------------------- paint

constexpr int kFrameX = 100, kFrameY = 40, kFrameW = 240, kFrameH = 300;

OEMCUIPPARAM *g_paintBlock;

LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    qx::PaintLayoutPreview(window, g_paintBlock, g_bltModule);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A page-like window with the (hidden) preview frame as its child.
class PreviewWindow {
 public:
  PreviewWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PageProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QxPreviewTestPage";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 420, 400, nullptr,
                              nullptr, wc.hInstance, nullptr);
    CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_BLACKFRAME, kFrameX, kFrameY, kFrameW, kFrameH, window_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PREVIEW_FRAME)), wc.hInstance, nullptr);
  }
  ~PreviewWindow() { DestroyWindow(window_); }
  HWND get() const { return window_; }

  void Paint(OEMCUIPPARAM *block) {
    g_paintBlock = block;
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
    g_paintBlock = nullptr;
  }

  // What the window shows in the preview frame's rectangle.
  Pixels Capture() const {
    HDC windowDc = GetDC(window_);
    HDC memory = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, kFrameW, kFrameH);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, kFrameW, kFrameH, windowDc, kFrameX, kFrameY, SRCCOPY);
    SelectObject(memory, old);
    Pixels p(memory, bitmap, kFrameW, kFrameH);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window_, windowDc);
    return p;
  }

 private:
  HWND window_ = nullptr;
};

// The frame must show the sheet picture centred, with the overlay's
// non-pink pixels over it, both on the window colour.
void ExpectPicture(const Pixels &shown, WORD sheetId, WORD overlayId) {
  ASSERT_TRUE(shown.ok());
  const COLORREF window = GetSysColor(COLOR_WINDOW) & 0xffffff;
  const Pixels sheet = ResourcePixels(sheetId);
  ASSERT_TRUE(sheet.ok());
  const Pixels overlay = overlayId ? ResourcePixels(overlayId) : sheet;
  const int left = (kFrameW - 200) / 2, top = (kFrameH - 170) / 2;
  int mismatches = 0, drawn = 0;
  for (int y = 0; y < kFrameH; ++y)
    for (int x = 0; x < kFrameW; ++x) {
      COLORREF expected = window;
      const int px = x - left, py = y - top;
      if (px >= 0 && px < 200 && py >= 0 && py < 170) {
        COLORREF c = sheet.at(px, py);
        if (overlayId && overlay.at(px, py) != kOverlayKey) c = overlay.at(px, py);
        if (c != kKey) {
          expected = c;
          ++drawn;
        }
      }
      if (shown.at(x, y) != expected && mismatches++ < 5)
        ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << shown.at(x, y) << ", expected "
                      << expected;
    }
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(drawn, 10000);
}

class PaintTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    saved_ = g_bltModule;
    if (!GetParam()) g_bltModule = L"qx-no-such-msimg.dll";
  }
  void TearDown() override { g_bltModule = saved_; }
  PreviewWindow window_;
  const wchar_t *saved_ = nullptr;
};

TEST_P(PaintTest, SheetWithBindingOverlay) {
  std::vector<OPTITEM> items = {Item(DMPUB_COLOR, 1), Item(DMPUB_ORIENTATION, 0), Item(DMPUB_DUPLEX, 2),
                                Item(DMPUB_NUP, 1)};
  OEMCUIPPARAM block = Block(items);
  window_.Paint(&block);
  ExpectPicture(window_.Capture(), 12105, 12305);  // two pages, line on top
  EXPECT_EQ(GetModuleHandleW(L"msimg32.dll"), nullptr);
}

TEST_P(PaintTest, GrayscaleLandscapeWithoutOverlay) {
  std::vector<OPTITEM> items = {Item(DMPUB_ORIENTATION, 1), Item(DMPUB_NUP, 5), Item(kNupDirection, 1)};
  OEMCUIPPARAM block = Block(items);
  window_.Paint(&block);
  ExpectPicture(window_.Capture(), qx::kReducedLayoutBuild ? 12271 : 12272, 0);
}

TEST_P(PaintTest, NoItemsShowTheDefaultSheet) {
  std::vector<OPTITEM> none;
  OEMCUIPPARAM block = Block(none);
  window_.Paint(&block);
  ExpectPicture(window_.Capture(), 12101, 0);
}

INSTANTIATE_TEST_SUITE_P(BothWays, PaintTest, ::testing::Values(true, false),
                         [](const auto &info) { return info.param ? "TransparentBlt" : "Masks"; });

TEST(Paint, AMissingBitmapLeavesTheWindowColour) {
  PreviewWindow window;
  std::vector<OPTITEM> items = {Item(DMPUB_COLOR, 1), Item(DMPUB_DUPLEX, 1)};
  OEMCUIPPARAM block = Block(items, GetModuleHandleW(nullptr));  // a module without the artwork
  window.Paint(&block);
  const Pixels shown = window.Capture();
  ASSERT_TRUE(shown.ok());
  const COLORREF color = GetSysColor(COLOR_WINDOW) & 0xffffff;
  for (POINT p : {POINT{0, 0}, POINT{kFrameW / 2, kFrameH / 2}, POINT{kFrameW - 1, kFrameH - 1}})
    EXPECT_EQ(shown.at(p.x, p.y), color);
}

TEST(Paint, WithoutThePreviewFrameThePageIsOnlyValidated) {
  PreviewWindow window;
  DestroyWindow(GetDlgItem(window.get(), IDC_PREVIEW_FRAME));
  std::vector<OPTITEM> none;
  OEMCUIPPARAM block = Block(none);
  window.Paint(&block);
  EXPECT_FALSE(GetUpdateRect(window.get(), nullptr, FALSE));
}

TEST(Paint, NullWindowOrBlockDoesNothing) {
  std::vector<OPTITEM> none;
  OEMCUIPPARAM block = Block(none);
  qx::PaintLayoutPreview(nullptr, &block);
  PreviewWindow window;
  qx::PaintLayoutPreview(window.get(), nullptr);
}

// Counts the BitBlt calls of this program (the preview code is linked in)
// by patching its import of gdi32's BitBlt.
int g_screenBlits, g_memoryBlits;
decltype(&BitBlt) g_realBitBlt;

BOOL WINAPI CountingBitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
  ++(GetObjectType(dst) == OBJ_MEMDC ? g_memoryBlits : g_screenBlits);
  return g_realBitBlt(dst, x, y, w, h, src, sx, sy, rop);
}

void *SwapImport(const char *dll, const char *function, void *replacement) {
  auto *base = reinterpret_cast<BYTE *>(GetModuleHandleW(nullptr));
  auto *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(base + reinterpret_cast<IMAGE_DOS_HEADER *>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY &imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto *d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + imports.VirtualAddress); d->Name; ++d) {
    if (lstrcmpiA(reinterpret_cast<char *>(base + d->Name), dll) != 0) continue;
    auto *names = reinterpret_cast<IMAGE_THUNK_DATA *>(base + d->OriginalFirstThunk);
    auto *slots = reinterpret_cast<IMAGE_THUNK_DATA *>(base + d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto *byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME *>(base + names->u1.AddressOfData);
      if (lstrcmpA(reinterpret_cast<char *>(byName->Name), function) != 0) continue;
      DWORD protection;
      VirtualProtect(&slots->u1.Function, sizeof(void *), PAGE_READWRITE, &protection);
      void *previous = reinterpret_cast<void *>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof(void *), protection, &protection);
      return previous;
    }
  }
  return nullptr;
}

TEST_P(PaintTest, ThePictureReachesTheScreenInOneBitBlt) {
  std::vector<OPTITEM> items = {Item(DMPUB_COLOR, 1), Item(DMPUB_DUPLEX, 1), Item(DMPUB_NUP, 4)};
  OEMCUIPPARAM block = Block(items);
  g_realBitBlt = reinterpret_cast<decltype(&BitBlt)>(
      SwapImport("gdi32.dll", "BitBlt", reinterpret_cast<void *>(&CountingBitBlt)));
  ASSERT_NE(g_realBitBlt, nullptr);
  g_screenBlits = g_memoryBlits = 0;
  window_.Paint(&block);
  SwapImport("gdi32.dll", "BitBlt", reinterpret_cast<void *>(g_realBitBlt));
  EXPECT_EQ(g_screenBlits, 1);
  EXPECT_EQ(g_memoryBlits, GetParam() ? 0 : 2 * 9);  // nine off-screen steps per mask copy
  ExpectPicture(window_.Capture(), 12117, 12314);
}

// Live GDI objects of the process. Wine's GetGuiResources answers 0, so
// there the entries of the process's GDI handle table (the PEB's
// GdiSharedHandleTable: 24-byte entries, type byte at offset 14) are counted.
DWORD GdiObjectCount() {
  const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (reported) return reported;
  auto *peb = reinterpret_cast<const BYTE *>(NtCurrentTeb()->ProcessEnvironmentBlock);
  auto *table = *reinterpret_cast<const BYTE *const *>(peb + 0xf8);
  if (!table) return 0;
  DWORD count = 0;
  for (DWORD i = 0; i < 0x10000; ++i) count += table[24 * i + 14] != 0;
  return count;
}

// A thousand paints through TransparentBlt and some through the mask copy
// leave the process's GDI and USER object counts where they were.
TEST(Paint, RepeatedPaintsReleaseEverything) {
  PreviewWindow window;
  std::vector<OPTITEM> items = {Item(DMPUB_COLOR, 1), Item(DMPUB_ORIENTATION, 1), Item(DMPUB_DUPLEX, 1),
                                Item(DMPUB_NUP, 2)};
  OEMCUIPPARAM block = Block(items);
  window.Paint(&block);  // first-use allocations happen here
  const DWORD gdi = GdiObjectCount();
  const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  ASSERT_GT(gdi, 0u) << "no way to count GDI objects";
  for (int i = 0; i < 1000; ++i) window.Paint(&block);
  const wchar_t *saved = g_bltModule;
  g_bltModule = L"qx-no-such-msimg.dll";
  for (int i = 0; i < 200; ++i) window.Paint(&block);
  g_bltModule = saved;
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user);

  // The count does see a leak.
  HBRUSH leaked = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_EQ(GdiObjectCount(), gdi + 1);
  DeleteObject(leaked);
}

}  // namespace
