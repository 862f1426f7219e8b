#include "host/host_sheet.h"

#include <prsht.h>

#include <algorithm>
#include <cstdio>

#include "host/page_size.h"

namespace qxhost {
namespace {

constexpr short kPageWidth = 320;   // dialog units, as the plug-in's pages
constexpr short kPageHeight = 346;
constexpr short kRowHeight = 15;
constexpr short kMargin = 6;      // left, right and between the columns
constexpr short kLabelGap = 2;    // between an item's name and its list
constexpr wchar_t kPageFace[] = L"MS Shell Dlg";
constexpr int kPagePoints = 8;

void AppendWord(std::vector<BYTE> *t, WORD w) {
  t->push_back(static_cast<BYTE>(w));
  t->push_back(static_cast<BYTE>(w >> 8));
}

void AppendString(std::vector<BYTE> *t, const wchar_t *s) {
  do AppendWord(t, static_cast<WORD>(*s)); while (*s++);
}

// An empty page template; the controls are made at WM_INITDIALOG.
std::vector<BYTE> PageTemplate(const std::wstring &title, short width, short height) {
  std::vector<BYTE> t(sizeof(DLGTEMPLATE), 0);
  auto *d = reinterpret_cast<DLGTEMPLATE *>(t.data());
  d->style = WS_CHILD | WS_CAPTION | DS_SETFONT | DS_3DLOOK;
  d->cx = width;
  d->cy = height;
  AppendWord(&t, 0);  // no menu
  AppendWord(&t, 0);  // standard class
  AppendString(&t, title.c_str());
  AppendWord(&t, kPagePoints);
  AppendString(&t, kPageFace);
  return t;
}

bool Visible(const OPTITEM &item) { return !(item.Flags & OPTIF_HIDE); }

bool HasWarnedOption(const OPTITEM &item) {
  for (int k = 0; item.pOptType && k < item.pOptType->Count; ++k) {
    const OPTPARAM &p = item.pOptType->pOptParam[k];
    if ((p.Flags & OPTPF_OVERLAY_WARNING_ICON) && !(p.Flags & OPTPF_HIDE)) return true;
  }
  return false;
}

// The item's name, indented by its level and marked when one of its options
// carries a warning overlay (the list marks the options themselves).
std::wstring LabelText(ItemTree *items, int i) {
  const OPTITEM &item = items->items()[i];
  std::wstring name = items->Name(i);
  if (item.Level > 1) name = L"  " + name;
  return HasWarnedOption(item) ? kWarningMark + name : name;
}

}  // namespace

HostSheet::HostSheet(CallLog *log) : log_(log) { driverPage_.sheet = this; }

HostSheet::~HostSheet() {
  if (sheet_ && IsWindow(sheet_)) DestroyWindow(sheet_);
  if (!shown_)
    for (SheetPage &p : pages_)
      if (p.handle) DestroyPropertySheetPage(p.handle);
}

PROPSHEETUI_INFO HostSheet::Info(WORD reason, LPARAM lParamInit) {
  PROPSHEETUI_INFO info = {};
  info.cbSize = sizeof info;
  info.Version = PROPSHEETUI_INFO_VERSION;
  info.Reason = reason;
  info.hComPropSheet = reinterpret_cast<HANDLE>(this);
  info.pfnComPropSheet = ComPropSheet;
  info.lParamInit = lParamInit;
  return info;
}

LONG_PTR CALLBACK HostSheet::ComPropSheet(HANDLE handle, UINT function, LPARAM lParam1, LPARAM lParam2) {
  auto *self = reinterpret_cast<HostSheet *>(handle);
  if (!self) return 0;
  switch (function) {
    case CPSFUNC_ADD_PROPSHEETPAGEW: {
      auto *psp = reinterpret_cast<PROPSHEETPAGEW *>(lParam1);
      if (!psp) {
        self->log_->Add("sheet: CPSFUNC_ADD_PROPSHEETPAGEW without a page -> 0");
        return 0;
      }
      SheetPage page;
      page.fromPlugin = true;
      if ((psp->dwFlags & PSP_USETITLE) && psp->pszTitle && !IS_INTRESOURCE(psp->pszTitle)) page.title = psp->pszTitle;
      page.handle = CreatePropertySheetPageW(psp);
      page.pixels = (psp->dwFlags & PSP_DLGINDIRECT) ? TemplatePixels(psp->pResource)
                                                     : TemplatePixels(psp->hInstance, psp->pszTemplate);
      std::string what = "sheet: CPSFUNC_ADD_PROPSHEETPAGEW \"" + Narrow(page.title) + "\" (template " +
                         (IS_INTRESOURCE(psp->pszTemplate)
                              ? std::to_string(reinterpret_cast<ULONG_PTR>(psp->pszTemplate))
                              : std::string("by name")) +
                         ((psp->dwFlags & PSP_USEFUSIONCONTEXT) ? ", own activation context" : "") + ")";
      if (!page.handle) {
        self->log_->Add(what + " -> 0 (the page could not be made)");
        return 0;
      }
      self->pages_.push_back(page);
      self->log_->Add(what + " -> page " + std::to_string(self->pages_.size()));
      return reinterpret_cast<LONG_PTR>(page.handle);
    }
    case CPSFUNC_SET_HSTARTPAGE: {
      int index = -1;
      if (!lParam1 && lParam2 == SSP_STDPAGE2) index = 0;  // the driver's own page
      for (size_t i = 0; i < self->pages_.size(); ++i)
        if (reinterpret_cast<LPARAM>(self->pages_[i].handle) == lParam1 && lParam1) index = static_cast<int>(i) + 1;
      self->startPage_ = index;
      self->log_->Add("sheet: CPSFUNC_SET_HSTARTPAGE(" + std::to_string(lParam1) + ", " + std::to_string(lParam2) +
                      ") -> 1");
      return 1;
    }
    case CPSFUNC_SET_RESULT:
      self->pluginResult_ = lParam2;
      self->log_->Add("sheet: CPSFUNC_SET_RESULT(result " + std::to_string(lParam2) + ") -> 1");
      return 1;
    default:
      self->log_->Add("sheet: function " + std::to_string(function) + " not offered -> 0");
      return 0;
  }
}

void HostSheet::SetDriverPage(const std::wstring &title, ItemTree *items, POEMCUIPPARAM param) {
  driverPage_.title = title;
  driverPage_.items = items;
  driverPage_.param = param;
}

bool HostSheet::Open(const std::wstring &caption) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
  InitCommonControlsEx(&icc);
  std::vector<HPROPSHEETPAGE> handles;
  if (driverPage_.items) {
    short width = 0, height = 0;
    SizeDriverPage(&width, &height);
    driverPage_.templ = PageTemplate(driverPage_.title, width, height);
    PROPSHEETPAGEW psp = {};
    psp.dwSize = sizeof psp;
    psp.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
    psp.pResource = reinterpret_cast<LPCDLGTEMPLATEW>(driverPage_.templ.data());
    psp.pszTitle = driverPage_.title.c_str();
    psp.pfnDlgProc = DriverPageProc;
    psp.lParam = reinterpret_cast<LPARAM>(&driverPage_);
    HPROPSHEETPAGE own = CreatePropertySheetPageW(&psp);
    if (own) handles.push_back(own);
  }
  for (const SheetPage &p : pages_) handles.push_back(p.handle);
  shown_ = true;  // the sheet owns the pages from here on
  if (handles.empty()) return false;
  PROPSHEETHEADERW psh = {};
  psh.dwSize = sizeof psh;
  psh.dwFlags = PSH_MODELESS | PSH_NOCONTEXTHELP;
  psh.pszCaption = caption.c_str();
  psh.nPages = static_cast<UINT>(handles.size());
  psh.phpage = handles.data();
  psh.nStartPage = startPage_ > 0 && static_cast<size_t>(startPage_) < handles.size() ? startPage_ : 0;
  INT_PTR r = PropertySheetW(&psh);
  if (r == 0 || r == -1) return false;
  sheet_ = reinterpret_cast<HWND>(r);
  ShowWindow(sheet_, SW_SHOW);
  Pump(150);
  return true;
}

void HostSheet::SizeDriverPage(short *width, short *height) {
  const BaseUnits units = FontBaseUnits(kPageFace, kPagePoints);
  ItemTree *items = driverPage_.items;
  // The longest name and the longest option, measured in the page's font.
  int label = 0, option = 0, rows = 0;
  {
    FontDC font(kPageFace, kPagePoints);
    for (DWORD i = 0; i < items->count(); ++i) {
      const OPTITEM &item = items->items()[i];
      if (!Visible(item)) continue;
      ++rows;
      label = std::max(label, font.Width(LabelText(items, static_cast<int>(i))));
      for (int k = 0; item.pOptType && k < item.pOptType->Count; ++k)
        option = std::max(option, font.Width(kWarningMark + items->OptionText(static_cast<int>(i), k)));
    }
  }
  // A list shows its text between its borders and its drop-down button.
  const int listChrome = GetSystemMetrics(SM_CXVSCROLL) + 4 * GetSystemMetrics(SM_CXEDGE);
  driverPage_.labelWidth = static_cast<short>(HorizontalUnits(label, units) + 1);
  driverPage_.listWidth = static_cast<short>(HorizontalUnits(option + listChrome, units));
  int w = std::max<int>(kPageWidth, 3 * kMargin + 2 * (driverPage_.labelWidth + kLabelGap + driverPage_.listWidth));
  int h = std::max<int>(kPageHeight, 12 + ((rows + 1) / 2) * kRowHeight);
  for (const SheetPage &p : pages_) {
    w = std::max(w, HorizontalUnits(p.pixels.cx, units));
    h = std::max(h, VerticalUnits(p.pixels.cy, units));
  }
  // Wider pages give the lists the room.
  driverPage_.listWidth = static_cast<short>((w - 3 * kMargin) / 2 - driverPage_.labelWidth - kLabelGap);
  *width = static_cast<short>(w);
  *height = static_cast<short>(h);
}

bool HostSheet::Closed() const {
  return !sheet_ || !IsWindow(sheet_) || !PropSheet_GetCurrentPageHwnd(sheet_);
}

void HostSheet::Pump(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  MSG msg;
  do {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (sheet_ && IsWindow(sheet_) && PropSheet_IsDialogMessage(sheet_, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (Closed()) return;
    Sleep(5);
  } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

HWND HostSheet::ShowPage(int index) {
  if (Closed()) return nullptr;
  PropSheet_SetCurSel(sheet_, nullptr, index);
  Pump(100);
  RedrawWindow(sheet_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump(50);
  return PropSheet_GetCurrentPageHwnd(sheet_);
}

bool HostSheet::Capture(const std::wstring &path) {
  if (Closed()) return false;
  RECT r;
  GetWindowRect(sheet_, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  HDC window = GetWindowDC(sheet_);
  if (!window) return false;
  HDC memory = CreateCompatibleDC(window);
  HBITMAP bitmap = CreateCompatibleBitmap(window, w, h);
  bool ok = false;
  if (memory && bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, window, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof bih;
    bih.biWidth = w;
    bih.biHeight = h;  // bottom-up, as a BMP file stores it
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bih.biCompression = BI_RGB;
    DWORD stride = ((w * 3) + 3) & ~3u;
    std::vector<BYTE> pixels(stride * h);
    if (GetDIBits(memory, bitmap, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO *>(&bih), DIB_RGB_COLORS) == h) {
      BITMAPFILEHEADER bfh = {};
      bfh.bfType = 0x4D42;
      bfh.bfOffBits = sizeof bfh + sizeof bih;
      bfh.bfSize = bfh.bfOffBits + static_cast<DWORD>(pixels.size());
      bih.biSizeImage = static_cast<DWORD>(pixels.size());
      if (FILE *f = _wfopen(path.c_str(), L"wb")) {
        ok = fwrite(&bfh, sizeof bfh, 1, f) == 1 && fwrite(&bih, sizeof bih, 1, f) == 1 &&
             fwrite(pixels.data(), 1, pixels.size(), f) == pixels.size();
        ok = (fclose(f) == 0) && ok;
      }
    }
  }
  if (bitmap) DeleteObject(bitmap);
  if (memory) DeleteDC(memory);
  ReleaseDC(sheet_, window);
  return ok;
}

void HostSheet::Close(bool ok) {
  if (Closed()) return;
  PropSheet_PressButton(sheet_, ok ? PSBTN_OK : PSBTN_CANCEL);
  for (int i = 0; i < 200 && !Closed(); ++i) Pump(20);
}

void HostSheet::RunUntilClosed() {
  MSG msg;
  while (!Closed() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (PropSheet_IsDialogMessage(sheet_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool HostSheet::SelectOnDriverPage(int item, int option) {
  HWND list = driverPage_.window ? GetDlgItem(driverPage_.window, kItemListIdBase + item) : nullptr;
  if (!list) return false;
  int n = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
  for (int pos = 0; pos < n; ++pos) {
    if (SendMessageW(list, CB_GETITEMDATA, pos, 0) != option) continue;
    SendMessageW(list, CB_SETCURSEL, pos, 0);
    SendMessageW(driverPage_.window, WM_COMMAND, MAKEWPARAM(kItemListIdBase + item, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    return true;
  }
  return false;
}

// ---- the driver's own page --------------------------------------------------

void HostSheet::LayOutDriverPage(DriverPage *page) {
  HWND w = page->window;
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0));
  int visible = 0;
  for (DWORD i = 0; i < page->items->count(); ++i)
    if (Visible(page->items->items()[i])) ++visible;
  int rows = (visible + 1) / 2;  // two columns, filled top to bottom
  int row = 0;
  for (DWORD i = 0; i < page->items->count(); ++i) {
    OPTITEM &item = page->items->items()[i];
    if (!Visible(item)) continue;  // hidden items are absent, as in the driver's tree
    int column = row / rows, line = row % rows;
    ++row;
    const int left = kMargin + column * (page->labelWidth + kLabelGap + page->listWidth + kMargin);
    const int top = 8 + line * kRowHeight;
    RECT label = {left, top + 2, left + page->labelWidth, top + 12};
    const int listLeft = left + page->labelWidth + kLabelGap;
    RECT list = {listLeft, top, listLeft + page->listWidth, top + 120};
    MapDialogRect(w, &label);
    MapDialogRect(w, &list);
    std::wstring name = LabelText(page->items, static_cast<int>(i));
    HWND l = CreateWindowExW(0, L"STATIC", name.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_ENDELLIPSIS,
                             label.left, label.top, label.right - label.left, label.bottom - label.top, w,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kItemLabelIdBase + i)), nullptr, nullptr);
    SendMessageW(l, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!item.pOptType) continue;  // a group heading
    HWND c = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                             list.left, list.top, list.right - list.left, list.bottom - list.top, w,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kItemListIdBase + i)), nullptr, nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

void HostSheet::RefreshDriverPage(DriverPage *page) {
  HWND w = page->window;
  for (DWORD i = 0; i < page->items->count(); ++i) {
    OPTITEM &item = page->items->items()[i];
    HWND label = GetDlgItem(w, kItemLabelIdBase + i);
    HWND list = GetDlgItem(w, kItemListIdBase + i);
    bool enabled = !(item.Flags & OPTIF_DISABLED);
    if (label) {
      EnableWindow(label, enabled);
      SetWindowTextW(label, LabelText(page->items, static_cast<int>(i)).c_str());
    }
    if (!list) continue;
    EnableWindow(list, enabled);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (int k = 0; item.pOptType && k < item.pOptType->Count; ++k) {
      const OPTPARAM &p = item.pOptType->pOptParam[k];
      if (p.Flags & OPTPF_HIDE) continue;
      std::wstring text = page->items->OptionText(static_cast<int>(i), k);
      if (p.Flags & OPTPF_OVERLAY_WARNING_ICON) text = kWarningMark + text;
      LRESULT pos = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      SendMessageW(list, CB_SETITEMDATA, pos, k);
      if (k == item.Sel) SendMessageW(list, CB_SETCURSEL, pos, 0);
    }
  }
}

LONG HostSheet::CallItemCallback(DriverPage *page, WORD reason, OPTITEM *current, LONG oldSel) {
  POEMCUIPPARAM param = page->param;
  if (!param || !param->OEMCUIPCallback) return CPSUICB_ACTION_NONE;
  CPSUICBPARAM cb = {};
  cb.cbSize = sizeof cb;
  cb.Reason = reason;
  cb.hDlg = page->window;
  cb.pOptItem = page->items->items();
  cb.cOptItem = static_cast<WORD>(page->items->count());
  cb.pCurItem = current;
  cb.OldSel = oldSel;
  cb.UserData = reinterpret_cast<ULONG_PTR>(param->pOEMUserData);
  LONG action = param->OEMCUIPCallback(&cb, param);
  const char *name = reason == CPSUICB_REASON_SEL_CHANGED ? "SEL_CHANGED" : reason == CPSUICB_REASON_APPLYNOW ? "APPLYNOW" : "?";
  std::string item = current ? " \"" + Narrow(page->items->Name(page->items->IndexOf(current))) + "\"" : "";
  page->sheet->log_->Add(std::string("item callback(") + name + item + ") -> action " + std::to_string(action));
  return action;
}

INT_PTR CALLBACK HostSheet::DriverPageProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto *page = reinterpret_cast<DriverPage *>(GetWindowLongPtrW(w, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      page = reinterpret_cast<DriverPage *>(reinterpret_cast<PROPSHEETPAGEW *>(lParam)->lParam);
      SetWindowLongPtrW(w, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
      page->window = w;
      LayOutDriverPage(page);
      RefreshDriverPage(page);
      return TRUE;
    case WM_COMMAND:
      if (page && HIWORD(wParam) == CBN_SELCHANGE && LOWORD(wParam) >= kItemListIdBase) {
        int i = LOWORD(wParam) - kItemListIdBase;
        if (i >= static_cast<int>(page->items->count())) return FALSE;
        HWND list = reinterpret_cast<HWND>(lParam);
        LRESULT pos = SendMessageW(list, CB_GETCURSEL, 0, 0);
        if (pos < 0) return FALSE;
        OPTITEM &item = page->items->items()[i];
        LONG old = item.Sel;
        item.Sel = static_cast<LONG>(SendMessageW(list, CB_GETITEMDATA, pos, 0));
        item.Flags |= OPTIF_CHANGED | OPTIF_CHANGEONCE;
        CallItemCallback(page, CPSUICB_REASON_SEL_CHANGED, &item, old);
        RefreshDriverPage(page);
        PropSheet_Changed(GetParent(w), w);
        return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: {
      if (!page) return FALSE;
      auto *hdr = reinterpret_cast<NMHDR *>(lParam);
      if (hdr->code == PSN_SETACTIVE) {
        RefreshDriverPage(page);  // other pages may have changed the items
        SetWindowLongPtrW(w, DWLP_MSGRESULT, 0);
        return TRUE;
      }
      if (hdr->code == PSN_APPLY) {
        CallItemCallback(page, CPSUICB_REASON_APPLYNOW, nullptr, 0);
        page->applied = true;
        SetWindowLongPtrW(w, DWLP_MSGRESULT, PSNRET_NOERROR);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace qxhost
