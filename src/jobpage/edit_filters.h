// Subclassed edit controls that swallow the typed characters their filter
// refuses. Text set or pasted without typing is not filtered.
#pragma once

#include <windows.h>

#include "jobpage/job_rules.h"

namespace qx {

// Installs `filter` on `edit`. The edit keeps the window procedure it had
// (a window property) and every message the filter lets through goes on to
// that procedure; filtering an edit again only changes the filter. False
// when there is no control or it cannot be subclassed.
bool FilterEdit(HWND edit, EditFilter filter);

}  // namespace qx
