#include "driversim/dialog_template.h"

#include <cstring>

namespace qxsim {

namespace {

// Reads values in order from a bounded block; past the end it gives zeros
// and remembers that it overran.
class Cursor {
 public:
  Cursor(const BYTE *base, size_t size) : base_(base), size_(size) {}
  template <typename T>
  T Get() {
    T v{};
    if (at_ + sizeof v <= size_) std::memcpy(&v, base_ + at_, sizeof v);
    else overran_ = true;
    at_ += sizeof v;
    return v;
  }
  std::wstring String() {
    std::wstring s;
    for (WCHAR c = Get<WCHAR>(); c && !overran_; c = Get<WCHAR>()) s += c;
    return s;
  }
  NameOrOrdinal Name() {
    NameOrOrdinal n;
    WORD first = Get<WORD>();
    if (first == 0xFFFF) {
      n.ordinal = Get<WORD>();
    } else if (first != 0) {
      at_ -= sizeof(WORD);
      n.name = String();
    }
    return n;
  }
  void AlignDword() { at_ = (at_ + 3) & ~size_t{3}; }
  void Skip(size_t bytes) { at_ += bytes; }
  bool ok() const { return !overran_ && at_ <= size_; }

 private:
  const BYTE *base_;
  size_t size_, at_ = 0;
  bool overran_ = false;
};

void ReadHeader(Cursor &c, DialogTemplate &t) {
  t.version = c.Get<WORD>();
  t.signature = c.Get<WORD>();
  t.extended = t.version == 1 && t.signature == 0xFFFF;
  if (t.extended) {
    t.helpId = c.Get<DWORD>();
    t.exStyle = c.Get<DWORD>();
    t.style = c.Get<DWORD>();
  } else {
    // DLGTEMPLATE: the two words were the style; the extended style follows.
    t.style = MAKELONG(t.version, t.signature);
    t.exStyle = c.Get<DWORD>();
  }
  t.count = c.Get<WORD>();
  t.x = c.Get<short>();
  t.y = c.Get<short>();
  t.cx = c.Get<short>();
  t.cy = c.Get<short>();
  t.menu = c.Name();
  t.cls = c.Name();
  t.caption = c.String();
  if (t.style & DS_SETFONT) {
    t.pointSize = c.Get<WORD>();
    if (t.extended) {
      t.weight = c.Get<WORD>();
      t.italic = c.Get<BYTE>();
      t.charset = c.Get<BYTE>();
    }
    t.face = c.String();
  }
}

DialogControl ReadControl(Cursor &c, bool extended) {
  DialogControl d;
  c.AlignDword();
  if (extended) {
    d.helpId = c.Get<DWORD>();
    d.exStyle = c.Get<DWORD>();
    d.style = c.Get<DWORD>();
  } else {
    d.style = c.Get<DWORD>();
    d.exStyle = c.Get<DWORD>();
  }
  d.x = c.Get<short>();
  d.y = c.Get<short>();
  d.cx = c.Get<short>();
  d.cy = c.Get<short>();
  d.id = extended ? c.Get<DWORD>() : c.Get<WORD>();
  d.cls = c.Name();
  d.text = c.Name();
  d.extraBytes = c.Get<WORD>();
  // DLGITEMTEMPLATE counts its size word in; DLGITEMTEMPLATEEX does not.
  c.Skip(extended ? d.extraBytes : d.extraBytes > 2 ? d.extraBytes - 2 : 0);
  return d;
}

}  // namespace

DialogTemplate ReadDialogTemplate(const void *data, size_t size) {
  DialogTemplate t;
  if (!data) return t;
  Cursor c(static_cast<const BYTE *>(data), size);
  ReadHeader(c, t);
  for (WORD i = 0; i < t.count && c.ok(); ++i) t.controls.push_back(ReadControl(c, t.extended));
  t.ok = c.ok();
  return t;
}

namespace {

DialogTemplate ReadFound(HMODULE module, HRSRC found) {
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void *data = loaded ? LockResource(loaded) : nullptr;
  return ReadDialogTemplate(data, data ? SizeofResource(module, found) : 0);
}

}  // namespace

DialogTemplate ReadDialogTemplate(HMODULE module, LPCWSTR name) {
  return ReadFound(module, FindResourceW(module, name, RT_DIALOG));
}

DialogTemplate ReadDialogTemplate(HMODULE module, LPCWSTR name, WORD language) {
  return ReadFound(module, FindResourceExW(module, RT_DIALOG, name, language));
}

}  // namespace qxsim
