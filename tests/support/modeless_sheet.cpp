#include "support/modeless_sheet.h"

namespace qxtest {

ModelessSheet::ModelessSheet(HPROPSHEETPAGE page) {
  PROPSHEETHEADERW header = {};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_MODELESS;
  header.pszCaption = L"Printing Preferences";
  header.nPages = 1;
  header.phpage = &page;
  sheet_ = reinterpret_cast<HWND>(PropertySheetW(&header));
  if (sheet_ == reinterpret_cast<HWND>(-1)) sheet_ = nullptr;
  PumpMessages();
}

ModelessSheet::~ModelessSheet() { Close(); }

void ModelessSheet::Close() {
  if (sheet_) DestroyWindow(sheet_);
  sheet_ = nullptr;
  PumpMessages();
}

std::wstring ModelessSheet::Text(int id) const {
  WCHAR text[1024] = {};
  GetWindowTextW(item(id), text, 1024);
  return text;
}

LONG_PTR ModelessSheet::Notify(UINT code) {
  HWND target = page();
  PSHNOTIFY notify = {};
  notify.hdr.hwndFrom = sheet_;
  notify.hdr.code = code;
  SetWindowLongPtrW(target, DWLP_MSGRESULT, 0x5A5A);
  SendMessageW(target, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
  return GetWindowLongPtrW(target, DWLP_MSGRESULT);
}

void ModelessSheet::Press(int button) {
  SendMessageW(sheet_, PSM_PRESSBUTTON, button, 0);
  PumpMessages();
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace qxtest
