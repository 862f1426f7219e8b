// Owns one reference to a COM interface and releases it at scope end.
#pragma once

#include <unknwn.h>

namespace qx {

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller holds (a QueryInterface result).
  explicit ComPtr(Interface *owned) : p_(owned) {}
  ComPtr(const ComPtr &) = delete;
  ComPtr &operator=(const ComPtr &) = delete;
  ComPtr(ComPtr &&o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  ComPtr &operator=(ComPtr &&o) noexcept {
    if (this != &o) {
      reset();
      p_ = o.p_;
      o.p_ = nullptr;
    }
    return *this;
  }
  ~ComPtr() { reset(); }

  void reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  Interface *get() const { return p_; }
  Interface *operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  Interface *p_ = nullptr;
};

}  // namespace qx
