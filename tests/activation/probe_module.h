// Loads one of the activation probe modules for a test and unloads it after.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "activation/activation_probe.h"

namespace qxtest {

// Path of a file next to the test program.
inline std::wstring BesideTestProgram(const wchar_t *name) {
  wchar_t path[MAX_PATH];
  std::wstring dir(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  return dir.substr(0, dir.find_last_of(L"\\/") + 1) + name;
}

class ProbeModule {
 public:
  explicit ProbeModule(const wchar_t *name) {
    module_ = LoadLibraryW(BesideTestProgram(name).c_str());
    EXPECT_NE(module_, nullptr) << "cannot load probe, error " << GetLastError();
    if (!module_) return;
    auto get = reinterpret_cast<GetActivationProbeFn>(
        reinterpret_cast<void *>(GetProcAddress(module_, "GetActivationProbe")));
    EXPECT_NE(get, nullptr);
    if (get) probe_ = get();
  }
  ~ProbeModule() {
    if (module_) FreeLibrary(module_);
  }
  ProbeModule(const ProbeModule &) = delete;
  ProbeModule &operator=(const ProbeModule &) = delete;

  HMODULE module() const { return module_; }
  const ActivationProbe *operator->() const { return probe_; }
  explicit operator bool() const { return probe_ != nullptr; }

 private:
  HMODULE module_ = nullptr;
  const ActivationProbe *probe_ = nullptr;
};

// Full path of the module that holds `address`.
inline std::wstring ModulePathOf(const void *address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCWSTR>(address), &module))
    return L"";
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module, path, MAX_PATH);
  std::wstring lower = path;
  for (auto &c : lower) c = static_cast<wchar_t>(towlower(c));
  return lower;
}

}  // namespace qxtest
