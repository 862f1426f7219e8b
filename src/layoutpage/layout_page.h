// The "Layout" property page of printing preferences: the driver's own layout
// option items (orientation, two-sided printing, page order, pages per sheet or
// booklet, their order on the sheet, binding edge, borders) on one page with a
// live preview. The page keeps no settings of its own; it edits the `Sel` and
// `Flags` of the driver's items in place.
#pragma once

#include "platform/printoem.h"

#include <commctrl.h>

#include "platform/ui_context.h"

namespace qx {

// Dialog procedure of template 11001; the page record's lParam is the UiContext.
INT_PTR CALLBACK LayoutPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Labels from the string table (left on the driver's heap).
void InitLayoutTexts(HWND page, const OEMCUIPPARAM *block);
// Creates the page's image list, fills it with the 17 icons and hands it to
// the three icon lists. Returns the list (null when none could be created).
HIMAGELIST InitLayoutImages(HWND page, const OEMCUIPPARAM *block);
// Rebuilds every list and control state from the driver's items.
void FillLayoutPage(HWND page, const OEMCUIPPARAM *block);
// Refills the two-sided list from `duplex`, with landscape icons when asked.
void RebuildDuplexList(HWND page, const OEMCUIPPARAM *block, const OPTITEM *duplex, bool landscape);
// WM_COMMAND: stores a choice in the driver's items. Returns the dialog result.
INT_PTR OnLayoutCommand(HWND page, WPARAM wParam, const OEMCUIPPARAM *block, IPrintOemDriverUI *driver);
// Reports changed orientation and two-sided choices to the driver.
void CommitLayoutItems(const OEMCUIPPARAM *block, IPrintOemDriverUI *driver);

}  // namespace qx
