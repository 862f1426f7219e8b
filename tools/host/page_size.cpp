#include "host/page_size.h"

#include "driversim/dialog_template.h"

namespace qxhost {

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

namespace {

SIZE PixelsOf(const qxsim::DialogTemplate &t) {
  if (!t.ok) return {0, 0};
  BaseUnits units;
  if (t.style & DS_SETFONT) {
    units = FontBaseUnits(t.face.c_str(), t.pointSize);
  } else {
    LONG system = GetDialogBaseUnits();
    units = {LOWORD(system), HIWORD(system)};
  }
  return {MulDiv(t.cx, units.x, 4), MulDiv(t.cy, units.y, 8)};
}

// An in-memory template carries no size; a valid one ends well within this.
constexpr size_t kIndirectTemplateLimit = 0x10000;

}  // namespace

SIZE TemplatePixels(const void *templ) {
  return PixelsOf(qxsim::ReadDialogTemplate(templ, templ ? kIndirectTemplateLimit : 0));
}

SIZE TemplatePixels(HINSTANCE module, LPCWSTR name) { return PixelsOf(qxsim::ReadDialogTemplate(module, name)); }

int HorizontalUnits(int pixels, BaseUnits units) { return units.x ? (pixels * 4 + units.x - 1) / units.x : 0; }
int VerticalUnits(int pixels, BaseUnits units) { return units.y ? (pixels * 8 + units.y - 1) / units.y : 0; }

}  // namespace qxhost
