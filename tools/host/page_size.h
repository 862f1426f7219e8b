// Pixel sizes of property pages. A property sheet converts every page's size
// with its own font's dialog units, so a page whose font is larger than the
// sheet's is cut; the host sizes its own page, and with it the sheet, to the
// largest page in pixels, so that every page shows whole.
#pragma once

#include <windows.h>

#include <string>

namespace qxhost {

// A screen DC with a font selected, for measuring texts in it.
class FontDC {
 public:
  FontDC(const wchar_t *face, int points);
  ~FontDC();
  FontDC(const FontDC &) = delete;
  FontDC &operator=(const FontDC &) = delete;
  HDC dc() const { return dc_; }
  int Width(const std::wstring &text) const;

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
};

// Pixels per 4 horizontal and per 8 vertical dialog units of a font, worked
// out as the dialog manager does (average width of A-Z and a-z, tmHeight).
struct BaseUnits {
  int x = 0;
  int y = 0;
};
BaseUnits FontBaseUnits(const wchar_t *face, int points);

// The size in pixels of a dialog template (DLGTEMPLATE or DLGTEMPLATEEX);
// {0, 0} when it cannot be read.
SIZE TemplatePixels(const void *templ);
// The same for a template resource of `module`.
SIZE TemplatePixels(HINSTANCE module, LPCWSTR name);

// Dialog units of the font that cover `pixels`, rounded up.
int HorizontalUnits(int pixels, BaseUnits units);
int VerticalUnits(int pixels, BaseUnits units);

}  // namespace qxhost
