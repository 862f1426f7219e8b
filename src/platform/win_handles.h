// Small owners for the Win32 resources the plug-in hands around, so that
// every path releases what it took.
#pragma once

#include <windows.h>
#include <winspool.h>
#include <cstddef>
#include <cstdlib>
#include <memory>

namespace qx {

struct FreeDeleter {
  void operator()(void *p) const { std::free(p); }
};
// A block from the plug-in's ordinary allocator.
template <typename T>
using MallocPtr = std::unique_ptr<T, FreeDeleter>;

// A block the spooler filled, with the size it asked for: the strings it
// points into lie inside those bytes.
template <typename T>
class SpoolerBlock {
 public:
  SpoolerBlock() = default;
  SpoolerBlock(MallocPtr<T> block, size_t size) : block_(std::move(block)), size_(block_ ? size : 0) {}
  T *get() const { return block_.get(); }
  T *operator->() const { return block_.get(); }
  T &operator*() const { return *block_; }
  size_t size() const { return size_; }
  void reset() {
    block_.reset();
    size_ = 0;
  }
  explicit operator bool() const { return block_ != nullptr; }
  friend bool operator==(const SpoolerBlock &b, std::nullptr_t) { return !b.block_; }

 private:
  MallocPtr<T> block_;
  size_t size_ = 0;
};

// The value that means "no handle": null for most, INVALID_HANDLE_VALUE for
// files.
struct NullIsEmpty {
  template <typename Handle>
  static Handle Value() { return nullptr; }
};
struct InvalidIsEmpty {
  template <typename Handle>
  static Handle Value() { return INVALID_HANDLE_VALUE; }
};

// Owns one handle and closes it with `Close` at scope end. Movable, never
// copied; a moved-from owner is empty.
template <typename Handle, auto Close, typename Empty = NullIsEmpty>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  UniqueHandle(const UniqueHandle &) = delete;
  UniqueHandle &operator=(const UniqueHandle &) = delete;
  UniqueHandle(UniqueHandle &&o) noexcept : h_(o.release()) {}
  UniqueHandle &operator=(UniqueHandle &&o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }
  void reset(Handle h = EmptyValue()) {
    if (h_ != EmptyValue()) Close(h_);
    h_ = h;
  }
  Handle release() {
    Handle h = h_;
    h_ = EmptyValue();
    return h;
  }
  Handle get() const { return h_; }
  Handle *put() { reset(); return &h_; }
  explicit operator bool() const { return h_ != EmptyValue(); }

 private:
  static Handle EmptyValue() { return Empty::template Value<Handle>(); }
  Handle h_ = EmptyValue();
};

using PrinterHandle = UniqueHandle<HANDLE, ClosePrinter>;
using ModuleHandle = UniqueHandle<HMODULE, FreeLibrary>;
using KernelHandle = UniqueHandle<HANDLE, CloseHandle>;  // tokens, events, threads
using FileHandle = UniqueHandle<HANDLE, CloseHandle, InvalidIsEmpty>;
template <typename Gdi>
using GdiObject = UniqueHandle<Gdi, DeleteObject>;

// A memory DC compatible with another DC.
class MemoryDc : public UniqueHandle<HDC, DeleteDC> {
 public:
  explicit MemoryDc(HDC compatibleWith) : UniqueHandle(CreateCompatibleDC(compatibleWith)) {}
};

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
