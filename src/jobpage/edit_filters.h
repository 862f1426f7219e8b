// Subclassed edit controls that swallow the typed characters their filter
// refuses. Text set or pasted without typing is not filtered.
#pragma once

#include <windows.h>

#include "jobpage/job_rules.h"

namespace qx {

// Remembers the window procedure of `edit` (an ordinary edit control) as the
// one every filtered edit forwards to. One value per process: the last page
// opened sets it.
void SaveEditClassProc(HWND edit);

// Installs `filter` on `edit`; false when there is no control or no saved
// edit procedure to forward to.
bool FilterEdit(HWND edit, EditFilter filter);

}  // namespace qx
