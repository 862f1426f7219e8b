// Threads that start their work at one moment, made with CreateThread so
// that the builds with GCC's win32 thread model (no std::thread) have them.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace qxtest {

class ThreadGroup {
 public:
  // Runs `work(index)` on `count` threads, all released at once, and waits
  // for them; false when a thread could not be started.
  static bool Race(int count, const std::function<void(int)> &work) {
    ThreadGroup group(work);
    for (int i = 0; i < count; ++i) {
      auto *task = new Task{&group, i};
      HANDLE thread = CreateThread(nullptr, 0, Run, task, 0, nullptr);
      if (!thread) {
        delete task;
        group.ok_ = false;
        break;
      }
      group.threads_.push_back(thread);
    }
    SetEvent(group.gate_);
    return group.ok_;
  }

  ~ThreadGroup() {
    SetEvent(gate_);
    for (HANDLE thread : threads_) {
      WaitForSingleObject(thread, INFINITE);
      CloseHandle(thread);
    }
    CloseHandle(gate_);
  }

 private:
  struct Task {
    ThreadGroup *group;
    int index;
  };
  explicit ThreadGroup(const std::function<void(int)> &work)
      : work_(work), gate_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ThreadGroup(const ThreadGroup &) = delete;
  ThreadGroup &operator=(const ThreadGroup &) = delete;

  static DWORD WINAPI Run(void *param) {
    auto *task = static_cast<Task *>(param);
    WaitForSingleObject(task->group->gate_, INFINITE);
    task->group->work_(task->index);
    delete task;
    return 0;
  }

  const std::function<void(int)> &work_;
  HANDLE gate_;
  std::vector<HANDLE> threads_;
  bool ok_ = true;
};

}  // namespace qxtest
