#include "support/message_box_catcher.h"

#include <gtest/gtest.h>

namespace qxtest {
namespace {

// A hook procedure has no context argument: the thread's innermost catcher.
thread_local MessageBoxCatcher *current = nullptr;

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring TextOf(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], length + 1)));
  return text;
}

}  // namespace

MessageBoxCatcher::MessageBoxCatcher(int answer) : answer_(answer) {
  previous_ = current;
  current = this;
  hook_ = SetWindowsHookExW(WH_CBT, HookProc, nullptr, GetCurrentThreadId());
  EXPECT_NE(hook_, nullptr) << "SetWindowsHookExW error " << GetLastError();
}

MessageBoxCatcher::~MessageBoxCatcher() {
  if (hook_) UnhookWindowsHookEx(hook_);
  current = previous_;
}

LRESULT CALLBACK MessageBoxCatcher::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  // Only the innermost catcher answers; the others pass the call on.
  if (code == HCBT_ACTIVATE && current) {
    HWND window = reinterpret_cast<HWND>(wParam);
    // A property sheet is a dialog too; its tab control tells it apart.
    if (ClassOf(window) == L"#32770" && !FindWindowExW(window, nullptr, L"SysTabControl32", nullptr))
      current->Catch(window);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxCatcher::Catch(HWND box) {
  // Each box is caught once: activation may be reported again.
  if (GetPropW(box, L"qxtest.caught")) return;
  SetPropW(box, L"qxtest.caught", reinterpret_cast<HANDLE>(1));

  CaughtMessageBox caught;
  caught.caption = TextOf(box);
  caught.owner = GetWindow(box, GW_OWNER);
  HWND press = nullptr, first = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    std::wstring cls = ClassOf(child);
    if (cls == L"Static") {
      // The icon is a text-less static; the message is the one with text.
      std::wstring text = TextOf(child);
      if (!text.empty() && caught.text.empty()) caught.text = text;
    } else if (cls == L"Button") {
      int id = GetDlgCtrlID(child);
      caught.buttons.push_back(id);
      if (!first) first = child;
      if (id == answer_) press = child;
    }
  }
  if (!press) press = first;
  if (press) {
    caught.answer = GetDlgCtrlID(press);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(caught.answer, BN_CLICKED), reinterpret_cast<LPARAM>(press));
  } else {
    PostMessageW(box, WM_CLOSE, 0, 0);
  }
  boxes_.push_back(std::move(caught));
}

}  // namespace qxtest
