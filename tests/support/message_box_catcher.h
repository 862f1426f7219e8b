// Answers the message boxes that the current thread shows while a catcher is
// alive, and records what each box said. A message box would otherwise block
// the test program; with the catcher it returns at once with the chosen answer.
// Property sheets, dialogs as well, are left alone.
//
//   qxtest::MessageBoxCatcher boxes;           // answers IDOK
//   CallSomethingThatMayShowABox();
//   ASSERT_EQ(boxes.count(), 1u);
//   EXPECT_EQ(boxes[0].text, L"...");
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qxtest {

struct CaughtMessageBox {
  std::wstring caption;
  std::wstring text;
  HWND owner = nullptr;         // the owner window the box was shown for (null: none)
  std::vector<int> buttons;     // command ids of the box's buttons (IDOK, IDYES, ...)
  int answer = 0;               // the button that was pressed
};

class MessageBoxCatcher {
 public:
  // `answer`: the command id to press (IDOK, IDCANCEL, IDYES, IDNO, ...).
  // A box without that button gets its first button pressed instead.
  explicit MessageBoxCatcher(int answer = IDOK);
  ~MessageBoxCatcher();
  MessageBoxCatcher(const MessageBoxCatcher &) = delete;
  MessageBoxCatcher &operator=(const MessageBoxCatcher &) = delete;

  void set_answer(int answer) { answer_ = answer; }
  size_t count() const { return boxes_.size(); }
  const CaughtMessageBox &operator[](size_t i) const { return boxes_.at(i); }
  const std::vector<CaughtMessageBox> &boxes() const { return boxes_; }
  void Clear() { boxes_.clear(); }

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
  void Catch(HWND box);

  HHOOK hook_ = nullptr;
  MessageBoxCatcher *previous_ = nullptr;  // catchers nest per thread
  int answer_;
  std::vector<CaughtMessageBox> boxes_;
};

}  // namespace qxtest
