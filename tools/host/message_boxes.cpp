#include "host/message_boxes.h"

#include <algorithm>

#include "host/description.h"

namespace qxhost {
namespace {

thread_local MessageBoxWatch *current = nullptr;

std::wstring WindowText(HWND w) {
  wchar_t buf[4096] = {};
  GetWindowTextW(w, buf, 4096);
  return buf;
}

bool HasChildOfClass(HWND parent, const wchar_t *cls) {
  return FindWindowExW(parent, nullptr, cls, nullptr) != nullptr;
}

// The message text: the longest static child that is not an icon.
std::wstring MessageText(HWND box) {
  std::wstring best;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(c, cls, 32);
    if (lstrcmpiW(cls, L"Static") != 0) continue;
    if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
    std::wstring t = WindowText(c);
    if (t.size() > best.size()) best = t;
  }
  return best;
}

}  // namespace

MessageBoxWatch::MessageBoxWatch(bool interactive, CallLog *log) : interactive_(interactive), log_(log) {
  previous_ = current;
  current = this;
  hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

MessageBoxWatch::~MessageBoxWatch() {
  if (hook_) UnhookWindowsHookEx(hook_);
  current = previous_;
}

LRESULT CALLBACK MessageBoxWatch::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && current) current->OnActivate(reinterpret_cast<HWND>(wParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxWatch::OnActivate(HWND window) {
  wchar_t cls[32] = {};
  GetClassNameW(window, cls, 32);
  if (lstrcmpW(cls, L"#32770") != 0) return;
  if (HasChildOfClass(window, L"SysTabControl32")) return;  // a property sheet, not a message box
  if (!GetDlgItem(window, IDOK) && !GetDlgItem(window, IDCANCEL) && !GetDlgItem(window, IDYES)) return;
  if (std::find(seen_.begin(), seen_.end(), window) != seen_.end()) return;
  seen_.push_back(window);
  shown_.push_back({WindowText(window), MessageText(window)});
  std::string text = Narrow(shown_.back().text);
  for (char &c : text)
    if (c == '\n' || c == '\r') c = ' ';
  int button = answer_;
  if (!GetDlgItem(window, button)) button = GetDlgItem(window, IDOK) ? IDOK : IDCANCEL;
  log_->Add("message box \"" + Narrow(shown_.back().caption) + "\": " + text +
            (interactive_ ? "" : button == IDOK ? " (answered OK)" : " (answered Cancel)"));
  if (interactive_) return;
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
}

}  // namespace qxhost
