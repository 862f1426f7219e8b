#include "printstart/path_parts.h"

namespace qx {

bool SplitPath(const char16_t *path, PathParts *parts) {
  if (!path || !parts) return false;
  *parts = PathParts();
  const char16_t *rest = path;
  if (rest[0] && rest[1] == u':') {
    parts->drive = rest;
    parts->driveLength = 2;
    rest += 2;
  }
  const char16_t *lastSeparator = nullptr, *lastDot = nullptr, *end = rest;
  for (; *end; ++end) {
    if (*end == u'\\' || *end == u'/') {
      lastSeparator = end;
      lastDot = nullptr;  // a dot counts only within the file name
    } else if (*end == u'.') {
      lastDot = end;
    }
  }
  parts->directory = rest;
  parts->directoryLength = lastSeparator ? static_cast<size_t>(lastSeparator + 1 - rest) : 0;
  parts->extension = lastDot ? lastDot : end;
  parts->extensionLength = static_cast<size_t>(end - parts->extension);
  return true;
}

}  // namespace qx
