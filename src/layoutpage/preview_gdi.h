// Scope guards of one paint. With the base's GDI owners (GdiObject,
// MemoryDc) every path releases in the right order: selections first, then
// the objects, then the DCs (declare them in the opposite order).
#pragma once

#include <windows.h>

#include "platform/win_handles.h"

namespace qx {

// Selects an object into a DC and puts the previous one back at scope end.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
  Selection(const Selection &) = delete;
  Selection &operator=(const Selection &) = delete;
  ~Selection() { if (old_) SelectObject(dc_, old_); }
  explicit operator bool() const { return old_ != nullptr && old_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// BeginPaint ... EndPaint.
class PaintSession {
 public:
  explicit PaintSession(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
  PaintSession(const PaintSession &) = delete;
  PaintSession &operator=(const PaintSession &) = delete;
  ~PaintSession() { if (dc_) EndPaint(window_, &ps_); }
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

}  // namespace qx
