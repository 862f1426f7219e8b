// A copy of the plug-in DLL whose language-neutral string tables hold one
// language's strings, so that the pages, which load their texts from the
// neutral tables under Wine, show that language exactly as a user of it sees
// them. The copy is loaded as a data file and deleted with this object.
#pragma once

#include <windows.h>

#include <string>

namespace qxtest {

class LanguageCopy {
 public:
  // `language` 0 (neutral) leaves the tables as built.
  LanguageCopy(const std::wstring &original, LANGID language);
  ~LanguageCopy();
  LanguageCopy(const LanguageCopy &) = delete;
  LanguageCopy &operator=(const LanguageCopy &) = delete;

  // Null when the copy could not be made; error() says why.
  HMODULE module() const { return module_; }
  const std::string &error() const { return error_; }

 private:
  bool Write(const std::wstring &original, LANGID language);

  std::wstring path_;
  HMODULE module_ = nullptr;
  std::string error_;
};

}  // namespace qxtest
