#pragma once
#include <cstdint>

namespace qx {
// Whether the system is older than NT 5.1 with Service Pack 3, where the
// plug-in leaves out its Layout page and the driver keeps its own items.
bool IsLegacySystem(uint32_t major, uint32_t minor, uint16_t servicePackMajor);
}  // namespace qx
