// A dialog template resource read into values: the header and every control
// of a DLGTEMPLATE or DLGTEMPLATEEX, as the dialog manager reads them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qxsim {

// A name or an ordinal as templates store them (menu, class, title).
struct NameOrOrdinal {
  WORD ordinal = 0;   // 0: a name (possibly empty)
  std::wstring name;
  // The name, or "#n" for an ordinal.
  std::wstring Text() const { return ordinal ? L"#" + std::to_wstring(ordinal) : name; }
};

struct DialogControl {
  DWORD helpId = 0, exStyle = 0, style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  NameOrOrdinal cls, text;
  WORD extraBytes = 0;  // creation data after the control
};

struct DialogTemplate {
  bool ok = false;        // the whole template was read
  bool extended = false;  // DLGTEMPLATEEX
  WORD version = 0, signature = 0;  // 1 and 0xFFFF for DLGTEMPLATEEX
  DWORD helpId = 0, exStyle = 0, style = 0;
  WORD count = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  NameOrOrdinal menu, cls;
  std::wstring caption;
  WORD pointSize = 0, weight = 0;  // when style has DS_SETFONT
  BYTE italic = 0, charset = 0;
  std::wstring face;
  std::vector<DialogControl> controls;
};

// Reads `size` bytes of a template; never reads past them.
DialogTemplate ReadDialogTemplate(const void *data, size_t size);
// The template resource `name` of `module`, as FindResourceW picks it or in
// one `language`; not ok when it is missing.
DialogTemplate ReadDialogTemplate(HMODULE module, LPCWSTR name);
DialogTemplate ReadDialogTemplate(HMODULE module, LPCWSTR name, WORD language);

}  // namespace qxsim
