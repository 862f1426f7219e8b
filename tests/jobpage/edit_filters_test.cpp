// Filtered edits forward what they let through to their own window
// procedure, whatever other edits of the process had before.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jobpage/edit_filters.h"

namespace {

// A component that subclassed one edit before the page did.
WNDPROC foreignNext = nullptr;
std::vector<std::pair<HWND, WPARAM>> foreignChars;

LRESULT CALLBACK ForeignProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CHAR) foreignChars.emplace_back(hwnd, wParam);
  return CallWindowProcW(foreignNext, hwnd, msg, wParam, lParam);
}

struct Edit {
  HWND hwnd = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
  ~Edit() {
    if (hwnd) DestroyWindow(hwnd);
  }
  std::wstring Typed(const std::wstring &keys) const {
    for (wchar_t c : keys) SendMessageW(hwnd, WM_CHAR, c, 0);
    wchar_t text[64] = {};
    GetWindowTextW(hwnd, text, 64);
    SetWindowTextW(hwnd, L"");
    return text;
  }
};

TEST(EditFilters, EachEditForwardsToItsOwnProcedure) {
  Edit foreign, plain;
  ASSERT_NE(foreign.hwnd, nullptr);
  ASSERT_NE(plain.hwnd, nullptr);
  foreignNext = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(foreign.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForeignProc)));
  ASSERT_NE(foreignNext, nullptr);

  EXPECT_TRUE(qx::FilterEdit(foreign.hwnd, qx::EditFilter::Digit));
  EXPECT_TRUE(qx::FilterEdit(plain.hwnd, qx::EditFilter::Digit));
  EXPECT_EQ(plain.Typed(L"7x"), L"7");
  EXPECT_TRUE(foreignChars.empty()) << "the plain edit's characters reached the other edit's procedure";
  EXPECT_EQ(foreign.Typed(L"8y"), L"8");
  ASSERT_EQ(foreignChars.size(), 1u);
  EXPECT_EQ(foreignChars[0], std::make_pair(foreign.hwnd, WPARAM('8')));

  // Filtering again changes the filter and still ends at the edit's own
  // procedure, not at a filter calling itself.
  EXPECT_TRUE(qx::FilterEdit(plain.hwnd, qx::EditFilter::Name));
  EXPECT_EQ(plain.Typed(L"a\"b"), L"ab");

  EXPECT_FALSE(qx::FilterEdit(nullptr, qx::EditFilter::Name));
}

}  // namespace
