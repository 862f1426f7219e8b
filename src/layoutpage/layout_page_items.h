// Finding and reading the driver's option items for the Layout page, and the
// small control operations its handlers share.
#pragma once

#include "layoutpage/layout_rules.h"
#include "platform/build_variant.h"
#include "platform/printoem.h"

namespace qx {

// First item with `dmPubId`, or null.
OPTITEM *FindLayoutItem(const OEMCUIPPARAM *block, BYTE dmPubId);
bool PageOrderPresent(const OEMCUIPPARAM *block);
// Count, current option and warned options of an item with options.
OptionList ReadOptionList(const OPTITEM &item);
bool SelWarned(const OPTITEM &item);
// Stores `option` as the item's choice and marks the item changed. An option
// the item does not have is never stored: false, and the item is untouched.
bool StoreOption(OPTITEM &item, long option);
// Whether the driver's items offer a booklet (see BookletOffered).
bool BookletOfferedBy(const OEMCUIPPARAM *block);

// List contents. Every entry carries its option index as item data, so
// selection and read-back never confuse a position with an option.
void FillList(HWND page, int listId, const OEMCUIPPARAM *block, int firstText, const ListEntries &entries);
void SelectOption(HWND page, int listId, long option);
// The option of the selected entry; -1 when nothing is selected.
long SelectedOption(HWND page, int listId);
int ListPosition(HWND page, int listId);
int ListEntryCount(HWND page, int listId);

void EnablePair(HWND page, int listId, int labelId, bool enable);
void ApplyPageFormat(HWND page, const PageFormatControls &controls);
// Enables the Booklet radio exactly when the driver's items offer a booklet.
void UpdateBookletRadio(HWND page, const OEMCUIPPARAM *block);

// Tells the sheet the page changed; redraws the page with its preview.
void NotifyChanged(HWND page);
void Repaint(HWND page);

}  // namespace qx
