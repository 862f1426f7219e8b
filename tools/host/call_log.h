// What the host asked the plug-in and what it answered, and what the
// plug-in asked the host: printed as it happens and kept for the report and
// the tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qxhost {

class CallLog {
 public:
  void Add(const std::string &line);
  const std::vector<std::string> &lines() const { return lines_; }
  bool Contains(const std::string &text) const;
  void set_echo(bool echo) { echo_ = echo; }

 private:
  std::vector<std::string> lines_;
  bool echo_ = true;
};

// "S_OK", "E_NOTIMPL", ... or the number in hex.
std::string HResultText(HRESULT hr);
std::string Hex(DWORD value);

}  // namespace qxhost
