// Which build this is. The NT 5.2 builds show a reduced Layout page (no
// pages-per-sheet order, binding edge or borders) and take over fewer of the
// driver's layout items; the resource scripts test QX_NT52 themselves.
#pragma once

namespace qx {

#ifdef QX_NT52
inline constexpr bool kReducedLayoutBuild = true;
#else
inline constexpr bool kReducedLayoutBuild = false;
#endif

}  // namespace qx
