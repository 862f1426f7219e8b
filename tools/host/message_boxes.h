// Message boxes that the plug-in shows on the host's thread: each is
// recorded (caption and text) and, unless a person is at the screen,
// answered with its default button at once so that nothing waits.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "host/call_log.h"

namespace qxhost {

struct ShownMessage {
  std::wstring caption;
  std::wstring text;
};

class MessageBoxWatch {
 public:
  // interactive: record only, let the person answer. Each box is logged
  // when it appears.
  MessageBoxWatch(bool interactive, CallLog *log);
  ~MessageBoxWatch();
  MessageBoxWatch(const MessageBoxWatch &) = delete;
  MessageBoxWatch &operator=(const MessageBoxWatch &) = delete;

  const std::vector<ShownMessage> &shown() const { return shown_; }
  // The button the automatic answer presses (IDOK unless set).
  void set_answer(int id) { answer_ = id; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  void OnActivate(HWND window);

  HHOOK hook_ = nullptr;
  bool interactive_;
  CallLog *log_;
  int answer_ = IDOK;
  std::vector<ShownMessage> shown_;
  std::vector<HWND> seen_;
  MessageBoxWatch *previous_ = nullptr;
};

}  // namespace qxhost
