#include "layoutpage/layout_rules.h"

namespace qx {

int OrientationImage(int option, bool warned) { return 2 * option + (warned ? 1 : 0); }

int DuplexImage(int option, bool warned, bool landscape) {
  int image = 6 + 2 * option + (warned ? 1 : 0);
  if (option != 0 && landscape) image += 4;
  return image;
}

int PageOrderImage(bool warned) { return warned ? kWarningIcon : kNoIcon; }

bool IsWarned(const OptionList &list, long option) {
  if (option < 0 || option >= list.count || option >= 32) return false;
  return (list.warned >> option) & 1u;
}

int ListLimit(LayoutList list) {
  switch (list) {
    case LayoutList::Orientation: return 3;
    case LayoutList::Duplex: return 3;
    case LayoutList::PageOrder: return 2;
    case LayoutList::PagesPerSheet: return 6;
    case LayoutList::Direction: return 4;
    case LayoutList::BindingEdge: return 2;
  }
  return 0;
}

ListEntries LayoutListEntries(LayoutList list, const OptionList &options, bool landscape) {
  const int limit = ListLimit(list);
  const bool filters = list == LayoutList::Orientation || list == LayoutList::Duplex;
  const bool showWarned = options.sel < limit && IsWarned(options, options.sel);
  ListEntries out;
  for (int k = 0; k < options.count && k < limit; ++k) {
    const bool warned = IsWarned(options, k);
    if (filters && warned && !showWarned) continue;
    int image = kNoIcon;
    if (list == LayoutList::Orientation) image = OrientationImage(k, warned);
    else if (list == LayoutList::Duplex) image = DuplexImage(k, warned, landscape);
    else if (list == LayoutList::PageOrder) image = PageOrderImage(warned);
    out.entry[out.count++] = {k, image};
  }
  return out;
}

long BookletDuplexOption(const OptionList &duplex) {
  const ListEntries shown = LayoutListEntries(LayoutList::Duplex, duplex);
  long first = -1;
  for (int i = 0; i < shown.count; ++i) {
    const long option = shown.entry[i].option;
    if (option == 0) continue;
    if (option == duplex.sel) return option;
    if (first < 0) first = option;
  }
  return first;
}

bool BookletOffered(int nupCount, bool pageOrderPresent, const OptionList &duplex) {
  return nupCount > kNupBooklet && pageOrderPresent && BookletDuplexOption(duplex) >= 0;
}

static Set OnIf(bool on) { return on ? Set::On : Set::Off; }

// The borders box follows the pages-per-sheet choice: one page per sheet has
// no borders to draw.
static void BordersFor(PageFormatControls &c, long nupSel, bool bordersFlag) {
  if (nupSel == 0) {
    c.bordersCheck = Set::Off;
    c.bordersEnable = Set::Off;
  } else {
    c.bordersCheck = OnIf(bordersFlag);
    c.bordersEnable = Set::On;
  }
}

PageFormatControls FillPageFormat(bool pageOrderPresent, long nupSel, bool bordersFlag, bool reduced) {
  PageFormatControls c;
  if (pageOrderPresent && nupSel == kNupBooklet) {
    c.bookletCheck = Set::On;
    c.perSheetCheck = Set::Off;
    c.perSheetEnable = Set::Off;
    c.perSheetSelect = 1;
    if (!reduced) {
      c.directionEnable = Set::Off;
      c.edgeEnable = Set::On;
      c.bordersEnable = Set::On;
      c.bordersCheck = OnIf(bordersFlag);
    }
  } else {
    c.bookletCheck = Set::Off;
    c.perSheetCheck = Set::On;
    c.perSheetEnable = Set::On;
    c.perSheetSelect = nupSel;
    if (!pageOrderPresent) {
      c.bookletEnable = Set::Off;
    } else if (!reduced) {
      c.directionEnable = Set::On;
      c.edgeEnable = Set::Off;
      c.bordersEnable = OnIf(nupSel != 0);
      // The box keeps showing the stored flag even while it is disabled.
      c.bordersCheck = OnIf(bordersFlag);
    }
  }
  return c;
}

PageFormatControls PagesPerSheetChosen(bool pageOrderPresent, long nupSel, bool bordersFlag, bool reduced) {
  PageFormatControls c;
  if (pageOrderPresent && !reduced) BordersFor(c, nupSel, bordersFlag);
  return c;
}

PageFormatControls PerSheetRadioClicked(bool pageOrderPresent, long nupSel, bool bordersFlag, bool reduced) {
  PageFormatControls c;
  c.perSheetEnable = Set::On;
  if (pageOrderPresent && !reduced) {
    c.directionEnable = Set::On;
    c.edgeEnable = Set::Off;
    BordersFor(c, nupSel, bordersFlag);
  }
  return c;
}

PageFormatControls BookletRadioClicked(bool pageOrderPresent, bool bordersFlag, bool reduced) {
  PageFormatControls c;
  c.perSheetSelect = 1;
  c.perSheetEnable = Set::Off;
  if (pageOrderPresent && !reduced) {
    c.directionEnable = Set::Off;
    c.edgeEnable = Set::On;
    c.bordersCheck = OnIf(bordersFlag);
    c.bordersEnable = Set::On;
  }
  return c;
}

PageFormatControls BookletDroppedForOneSided(bool pageOrderPresent, bool reduced) {
  PageFormatControls c;
  c.bookletCheck = Set::Off;
  c.perSheetCheck = Set::On;
  c.perSheetSelect = 1;
  c.perSheetEnable = Set::On;
  if (pageOrderPresent && !reduced) {
    c.directionEnable = Set::On;
    c.edgeEnable = Set::Off;
  }
  return c;
}

PageFormatControls NoPageOrder(bool reduced) {
  PageFormatControls c;
  if (!reduced) {
    c.directionEnable = Set::Off;
    c.edgeEnable = Set::Off;
    c.bordersEnable = Set::Off;
  }
  return c;
}

bool ShouldCommitItem(int dmPubId, bool hasOptions, bool changed, bool warnedAtSel) {
  return (dmPubId == 1 || dmPubId == 7) && hasOptions && changed && !warnedAtSel;
}

}  // namespace qx
