#include "platform/system_version.h"

namespace qx {
bool IsLegacySystem(uint32_t major, uint32_t minor, uint16_t servicePackMajor) {
  if (major >= 6) return false;
  return major < 5 || (major == 5 && minor == 0) || (major == 5 && minor == 1 && servicePackMajor < 3);
}
}  // namespace qx
