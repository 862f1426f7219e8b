// Small owners for the Win32 resources the plug-in hands around, so that
// every path releases what it took.
#pragma once

#include <windows.h>
#include <winspool.h>
#include <cstdlib>
#include <memory>

namespace qx {

struct FreeDeleter {
  void operator()(void *p) const { std::free(p); }
};
// A block from the plug-in's ordinary allocator (the spooler fetches).
template <typename T>
using MallocPtr = std::unique_ptr<T, FreeDeleter>;

// Owns one handle and closes it with `Close` at scope end.
template <typename Handle, auto Close>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  UniqueHandle(const UniqueHandle &) = delete;
  UniqueHandle &operator=(const UniqueHandle &) = delete;
  ~UniqueHandle() { reset(); }
  void reset(Handle h = nullptr) {
    if (h_) Close(h_);
    h_ = h;
  }
  Handle get() const { return h_; }
  Handle *put() { reset(); return &h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  Handle h_ = nullptr;
};

using PrinterHandle = UniqueHandle<HANDLE, ClosePrinter>;
using ModuleHandle = UniqueHandle<HMODULE, FreeLibrary>;
using KernelHandle = UniqueHandle<HANDLE, CloseHandle>;  // tokens, events, threads

// A string or block on a heap the caller names (the driver's hOEMHeap).
class HeapString {
 public:
  HeapString() = default;
  HeapString(HANDLE heap, WCHAR *p) : heap_(heap), p_(p) {}
  HeapString(HeapString &&o) noexcept : heap_(o.heap_), p_(o.p_) { o.p_ = nullptr; }
  HeapString &operator=(HeapString &&o) noexcept {
    if (this != &o) { reset(); heap_ = o.heap_; p_ = o.p_; o.p_ = nullptr; }
    return *this;
  }
  ~HeapString() { reset(); }
  void reset() {
    if (p_) HeapFree(heap_, 0, p_);
    p_ = nullptr;
  }
  WCHAR *get() const { return p_; }
  WCHAR *release() { WCHAR *p = p_; p_ = nullptr; return p; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  HANDLE heap_ = nullptr;
  WCHAR *p_ = nullptr;
};

// Keeps the thread's last error across clean-up calls that may change it.
class LastErrorKeeper {
 public:
  LastErrorKeeper() : error_(GetLastError()) {}
  ~LastErrorKeeper() { SetLastError(error_); }

 private:
  DWORD error_;
};

}  // namespace qx
