// The "Extended Settings" page: access-control and confidential-job settings
// of the plug-in's private devmode block.
#pragma once

#include <windows.h>

namespace qx {

// Dialog procedure of the page (template IDD_JOB_SETTINGS). The page record's
// lParam is the plug-in object's UiContext.
INT_PTR CALLBACK JobSettingsPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace qx
