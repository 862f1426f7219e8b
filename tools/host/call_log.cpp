#include "host/call_log.h"

#include <cstdio>

namespace qxhost {

void CallLog::Add(const std::string &line) {
  lines_.push_back(line);
  if (echo_) {
    std::printf("  %s\n", line.c_str());
    std::fflush(stdout);
  }
}

bool CallLog::Contains(const std::string &text) const {
  for (const std::string &l : lines_)
    if (l.find(text) != std::string::npos) return true;
  return false;
}

std::string Hex(DWORD value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08lX", static_cast<unsigned long>(value));
  return buf;
}

std::string HResultText(HRESULT hr) {
  switch (hr) {
    case S_OK: return "S_OK";
    case S_FALSE: return "S_FALSE";
    case E_FAIL: return "E_FAIL";
    case E_NOTIMPL: return "E_NOTIMPL";
    case E_NOINTERFACE: return "E_NOINTERFACE";
    case E_INVALIDARG: return "E_INVALIDARG";
    case E_OUTOFMEMORY: return "E_OUTOFMEMORY";
    case E_POINTER: return "E_POINTER";
    default: return Hex(static_cast<DWORD>(hr));
  }
}

}  // namespace qxhost
