#pragma once
#include <windows.h>

namespace ostrel {

// Locks a global memory block for a scope; get() is null when the lock failed.
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL block) : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
  ~GlobalLockGuard() {
    if (data_) GlobalUnlock(block_);
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

  void* get() const { return data_; }

 private:
  HGLOBAL block_;
  void* data_;
};

}  // namespace ostrel
