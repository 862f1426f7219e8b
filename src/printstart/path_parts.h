// Splits a Windows file path the way the C runtime's path splitter does, in
// place: the drive ("C:"), the directory (up to and including the last '\' or
// '/'), and the extension (from the file name's last '.' on). The runtime's
// bounded splitter is missing from the system C runtime of NT 5.x.
#pragma once

#include <cstddef>

namespace qx {

struct PathParts {
  const char16_t *drive = nullptr;
  size_t driveLength = 0;
  const char16_t *directory = nullptr;
  size_t directoryLength = 0;
  const char16_t *extension = nullptr;
  size_t extensionLength = 0;
};

// False for a missing path.
bool SplitPath(const char16_t *path, PathParts *parts);

}  // namespace qx
