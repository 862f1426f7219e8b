#include "resources/language_copy.h"

#include <vector>

namespace qxtest {

namespace {

// A module loaded only for its resources.
struct DataModule {
  HMODULE handle;
  explicit DataModule(const std::wstring &path)
      : handle(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~DataModule() { if (handle) FreeLibrary(handle); }
};

// A resource update that is thrown away unless committed.
struct ResourceUpdate {
  HANDLE handle;
  explicit ResourceUpdate(const std::wstring &path) : handle(BeginUpdateResourceW(path.c_str(), FALSE)) {}
  ~ResourceUpdate() { if (handle) EndUpdateResourceW(handle, TRUE); }
  bool Commit() {
    HANDLE h = handle;
    handle = nullptr;
    return EndUpdateResourceW(h, FALSE) != FALSE;
  }
};

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR out) {
  if (IS_INTRESOURCE(name)) reinterpret_cast<std::vector<WORD> *>(out)->push_back(LOWORD(name));
  return TRUE;
}

}  // namespace

LanguageCopy::LanguageCopy(const std::wstring &original, LANGID language) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  path_ = std::wstring(dir) + L"qx-language-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(language) + L".dll";
  if (!CopyFileW(original.c_str(), path_.c_str(), FALSE)) {
    error_ = "copy failed, error " + std::to_string(GetLastError());
    path_.clear();
    return;
  }
  if (language != MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL) && !Write(original, language)) return;
  module_ = LoadLibraryExW(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module_) error_ = "copy not loadable, error " + std::to_string(GetLastError());
}

LanguageCopy::~LanguageCopy() {
  if (module_) FreeLibrary(module_);
  if (!path_.empty()) DeleteFileW(path_.c_str());
}

bool LanguageCopy::Write(const std::wstring &original, LANGID language) {
  DataModule source(original);
  std::vector<WORD> blocks;
  if (!source.handle || !EnumResourceNamesW(source.handle, RT_STRING, CollectName, reinterpret_cast<LONG_PTR>(&blocks))) {
    error_ = "string tables not readable";
    return false;
  }
  ResourceUpdate update(path_);
  if (!update.handle) {
    error_ = "copy not writable, error " + std::to_string(GetLastError());
    return false;
  }
  for (WORD block : blocks) {
    HRSRC found = FindResourceExW(source.handle, RT_STRING, MAKEINTRESOURCEW(block), language);
    HGLOBAL data = found ? LoadResource(source.handle, found) : nullptr;
    if (!data) {
      error_ = "string block " + std::to_string(block) + " missing in language " + std::to_string(language);
      return false;
    }
    if (!UpdateResourceW(update.handle, RT_STRING, MAKEINTRESOURCEW(block), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                         LockResource(data), SizeofResource(source.handle, found))) {
      error_ = "string block " + std::to_string(block) + " not replaced";
      return false;
    }
  }
  if (!update.Commit()) {
    error_ = "copy not written, error " + std::to_string(GetLastError());
    return false;
  }
  return true;
}

}  // namespace qxtest
