#include "host/page_size.h"

namespace qxhost {

namespace {

const WORD *SkipString(const WORD *p) {
  if (*p == 0xFFFF) return p + 2;  // an ordinal
  while (*p++) {
  }
  return p;
}

}  // namespace

FontDC::FontDC(const wchar_t *face, int points) : dc_(GetDC(nullptr)) {
  font_ = CreateFontW(-MulDiv(points, GetDeviceCaps(dc_, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, face);
  old_ = SelectObject(dc_, font_);
}

FontDC::~FontDC() {
  SelectObject(dc_, old_);
  DeleteObject(font_);
  ReleaseDC(nullptr, dc_);
}

int FontDC::Width(const std::wstring &text) const {
  SIZE size = {};
  GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

BaseUnits FontBaseUnits(const wchar_t *face, int points) {
  FontDC f(face, points);
  static const wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  TEXTMETRICW tm = {};
  GetTextMetricsW(f.dc(), &tm);
  return {(f.Width(kAlphabet) / 26 + 1) / 2, static_cast<int>(tm.tmHeight)};
}

SIZE TemplatePixels(const void *templ) {
  if (!templ) return {0, 0};
  auto *words = static_cast<const WORD *>(templ);
  bool extended = words[0] == 1 && words[1] == 0xFFFF;
  DWORD style;
  short cx, cy;
  const WORD *p;
  if (extended) {
    // dlgVer, signature, helpID, exStyle, style, cDlgItems, x, y, cx, cy
    auto *bytes = static_cast<const BYTE *>(templ);
    style = *reinterpret_cast<const DWORD *>(bytes + 12);
    cx = *reinterpret_cast<const short *>(bytes + 22);
    cy = *reinterpret_cast<const short *>(bytes + 24);
    p = reinterpret_cast<const WORD *>(bytes + 26);
  } else {
    auto *d = static_cast<const DLGTEMPLATE *>(templ);
    style = d->style;
    cx = d->cx;
    cy = d->cy;
    p = reinterpret_cast<const WORD *>(d + 1);
  }
  p = SkipString(SkipString(SkipString(p)));  // menu, class, title
  BaseUnits units;
  if (style & DS_SETFONT) {
    int points = *p++;
    if (extended) p += 2;  // weight, italic and character set
    units = FontBaseUnits(reinterpret_cast<const wchar_t *>(p), points);
  } else {
    LONG system = GetDialogBaseUnits();
    units = {LOWORD(system), HIWORD(system)};
  }
  return {MulDiv(cx, units.x, 4), MulDiv(cy, units.y, 8)};
}

SIZE TemplatePixels(HINSTANCE module, LPCWSTR name) {
  HRSRC found = FindResourceW(module, name, reinterpret_cast<LPCWSTR>(RT_DIALOG));
  HGLOBAL data = found ? LoadResource(module, found) : nullptr;
  return TemplatePixels(data ? LockResource(data) : nullptr);
}

int HorizontalUnits(int pixels, BaseUnits units) { return units.x ? (pixels * 4 + units.x - 1) / units.x : 0; }
int VerticalUnits(int pixels, BaseUnits units) { return units.y ? (pixels * 8 + units.y - 1) / units.y : 0; }

}  // namespace qxhost
