// The decisions of the Layout page as plain functions over values: which
// options each list shows and with which icon, and which controls a choice
// checks, enables or disables. The Win32 side only applies the results.
#pragma once

#include <cstdint>

namespace qx {

// Indices into the page's image list (the icons are appended in this order).
constexpr int kWarningIcon = 16;
constexpr int kNoIcon = 17;  // past the end of the list: the entry shows no icon

int OrientationImage(int option, bool warned);
int DuplexImage(int option, bool warned, bool landscape);
int PageOrderImage(bool warned);

// Option 6 of pages per sheet is the booklet.
constexpr long kNupBooklet = 6;

// What the page needs to know of one driver option item.
struct OptionList {
  int count = 0;         // number of options
  long sel = 0;          // current option
  uint32_t warned = 0;   // bit k: option k carries the driver's warning overlay
};

bool IsWarned(const OptionList &list, long option);

enum class LayoutList { Orientation, Duplex, PageOrder, PagesPerSheet, Direction, BindingEdge };

// How many options a list can show at most.
int ListLimit(LayoutList list);

struct ListEntry {
  int option;  // option index, kept as the entry's item data
  int image;   // icon index; unused by the plain lists
};
struct ListEntries {
  int count = 0;
  ListEntry entry[6];
};

// The entries of a list in display order. In the orientation and two-sided
// lists a warned option is left out unless the current option is warned
// itself; the other lists show every option.
ListEntries LayoutListEntries(LayoutList list, const OptionList &options, bool landscape = false);

// The two-sided option a booklet is printed with: the current one when it
// prints on both sides, else the first two-sided option the list shows;
// -1 when the list shows none (or there is no two-sided item: count 0).
long BookletDuplexOption(const OptionList &duplex);

// A booklet is offered only when pages per sheet has its booklet option, the
// driver has a page order item and two-sided printing has an option to print
// it with; otherwise the Booklet radio stays disabled and a click stores
// nothing.
bool BookletOffered(int nupCount, bool pageOrderPresent, const OptionList &duplex);

// Control states set by the pages-per-sheet rules. Leave means "not touched".
enum class Set : int8_t { Leave, Off, On };
struct PageFormatControls {
  Set perSheetCheck = Set::Leave;   // radio 11010
  Set bookletCheck = Set::Leave;    // radio 11011
  Set bookletEnable = Set::Leave;   // radio 11011
  Set perSheetEnable = Set::Leave;  // list 11012
  long perSheetSelect = -1;         // option to select in 11012; -1: leave
  Set directionEnable = Set::Leave; // list 11014 and label 11013
  Set edgeEnable = Set::Leave;      // list 11016 and label 11015
  Set bordersEnable = Set::Leave;   // check box 11017
  Set bordersCheck = Set::Leave;
};


// `reduced`: the build whose page hides the direction, binding edge and
// borders controls and leaves them alone.
PageFormatControls FillPageFormat(bool pageOrderPresent, long nupSel, bool bordersFlag, bool reduced);
// After a new pages-per-sheet choice in the list.
PageFormatControls PagesPerSheetChosen(bool pageOrderPresent, long nupSel, bool bordersFlag, bool reduced);
// After a click on the pages-per-sheet radio; `nupSel` is the new choice.
PageFormatControls PerSheetRadioClicked(bool pageOrderPresent, long nupSel, bool bordersFlag, bool reduced);
// After a click on the Booklet radio.
PageFormatControls BookletRadioClicked(bool pageOrderPresent, bool bordersFlag, bool reduced);
// After two-sided printing was set to "None" while the booklet was chosen.
PageFormatControls BookletDroppedForOneSided(bool pageOrderPresent, bool reduced);
// After the fill, when the driver has no page order item.
PageFormatControls NoPageOrder(bool reduced);

// Whether a changed orientation or two-sided item is reported to the driver.
bool ShouldCommitItem(int dmPubId, bool hasOptions, bool changed, bool warnedAtSel);

}  // namespace qx
