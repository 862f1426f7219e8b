// Owners for the GDI objects and device contexts of one paint, so that every
// path releases them in the right order: selections first, then the objects,
// then the DCs (declare them in the opposite order).
#pragma once

#include <windows.h>

namespace qx {

template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle h) : h_(h) {}
  GdiObject(const GdiObject &) = delete;
  GdiObject &operator=(const GdiObject &) = delete;
  ~GdiObject() { if (h_) DeleteObject(h_); }
  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  Handle h_ = nullptr;
};

class MemoryDc {
 public:
  explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  MemoryDc(const MemoryDc &) = delete;
  MemoryDc &operator=(const MemoryDc &) = delete;
  ~MemoryDc() { if (dc_) DeleteDC(dc_); }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

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
