#include "layoutpage/layout_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace qx {
namespace {

std::vector<std::pair<int, int>> Entries(LayoutList list, OptionList options, bool landscape = false) {
  ListEntries e = LayoutListEntries(list, options, landscape);
  std::vector<std::pair<int, int>> out;
  for (int i = 0; i < e.count; ++i) out.push_back({e.entry[i].option, e.entry[i].image});
  return out;
}

using V = std::vector<std::pair<int, int>>;

TEST(LayoutListEntries, OrientationLeavesOutWarnedOptionsUnlessTheCurrentOneIsWarned) {
  // Landscape warned, portrait current: the middle option is left out and
  // the entry behind it keeps its own option index.
  EXPECT_EQ(Entries(LayoutList::Orientation, {3, 0, 0b010}), (V{{0, 0}, {2, 4}}));
  // The current option is warned: all three are shown, warned ones with the warning variant.
  EXPECT_EQ(Entries(LayoutList::Orientation, {3, 1, 0b110}), (V{{0, 0}, {1, 3}, {2, 5}}));
  // At most three options; a current option past the list counts as not warned.
  EXPECT_EQ(Entries(LayoutList::Orientation, {5, 4, 0b11000}), (V{{0, 0}, {1, 2}, {2, 4}}));
  EXPECT_EQ(Entries(LayoutList::Orientation, {3, -1, 0b001}), (V{{1, 2}, {2, 4}}));
}

TEST(LayoutListEntries, DuplexIconsFollowTheOrientation) {
  EXPECT_EQ(Entries(LayoutList::Duplex, {3, 0, 0}), (V{{0, 6}, {1, 8}, {2, 10}}));
  EXPECT_EQ(Entries(LayoutList::Duplex, {3, 0, 0}, true), (V{{0, 6}, {1, 12}, {2, 14}}));
  EXPECT_EQ(Entries(LayoutList::Duplex, {3, 2, 0b100}, true), (V{{0, 6}, {1, 12}, {2, 15}}));
  // "None" current, both flips warned: only "None" is left.
  EXPECT_EQ(Entries(LayoutList::Duplex, {3, 0, 0b110}), (V{{0, 6}}));
}

TEST(LayoutListEntries, PageOrderKeepsWarnedOptionsAndMarksOnlyThem) {
  EXPECT_EQ(Entries(LayoutList::PageOrder, {2, 0, 0b10}), (V{{0, kNoIcon}, {1, kWarningIcon}}));
  EXPECT_EQ(Entries(LayoutList::PageOrder, {3, 0, 0}).size(), 2u);
}

TEST(LayoutListEntries, PlainListsShowEveryOptionUpToTheirLimit) {
  EXPECT_EQ(Entries(LayoutList::PagesPerSheet, {7, 6, 0b1111111}).size(), 6u);
  EXPECT_EQ(Entries(LayoutList::Direction, {4, 0, 0b1111}).size(), 4u);
  EXPECT_EQ(Entries(LayoutList::BindingEdge, {1, 0, 0}), (V{{0, kNoIcon}}));
  EXPECT_TRUE(Entries(LayoutList::BindingEdge, {0, 0, 0}).empty());
}

TEST(Booklet, PrintsWithAListedTwoSidedOptionAndNeedsPageOrderAndOptionSix) {
  // The current two-sided option is kept, "None" gives the first listed flip.
  EXPECT_EQ(BookletDuplexOption({3, 2, 0}), 2);
  EXPECT_EQ(BookletDuplexOption({3, 0, 0}), 1);
  // "Flip on Short Edge" warned and left out: the long edge, which is shown.
  EXPECT_EQ(BookletDuplexOption({3, 0, 0b010}), 2);
  // Only "None" listed, or no two-sided item at all.
  EXPECT_EQ(BookletDuplexOption({3, 0, 0b110}), -1);
  EXPECT_EQ(BookletDuplexOption({1, 0, 0}), -1);
  EXPECT_EQ(BookletDuplexOption({}), -1);
  // A current option past the list is never kept.
  EXPECT_EQ(BookletDuplexOption({3, 5, 0}), 1);

  EXPECT_TRUE(BookletOffered(7, true, {3, 0, 0}));
  EXPECT_FALSE(BookletOffered(6, true, {3, 0, 0}));
  EXPECT_FALSE(BookletOffered(7, false, {3, 0, 0}));
  EXPECT_FALSE(BookletOffered(7, true, {3, 0, 0b110}));
}

TEST(PageFormat, FillWithBooklet) {
  PageFormatControls c = FillPageFormat(true, kNupBooklet, true, false);
  EXPECT_EQ(c.bookletCheck, Set::On);
  EXPECT_EQ(c.perSheetCheck, Set::Off);
  EXPECT_EQ(c.perSheetEnable, Set::Off);
  EXPECT_EQ(c.perSheetSelect, 1);
  EXPECT_EQ(c.directionEnable, Set::Off);
  EXPECT_EQ(c.edgeEnable, Set::On);
  EXPECT_EQ(c.bordersEnable, Set::On);
  EXPECT_EQ(c.bordersCheck, Set::On);
}

TEST(PageFormat, FillWithOnePagePerSheetShowsTheStoredBordersFlagDisabled) {
  PageFormatControls c = FillPageFormat(true, 0, true, false);
  EXPECT_EQ(c.perSheetCheck, Set::On);
  EXPECT_EQ(c.perSheetSelect, 0);
  EXPECT_EQ(c.directionEnable, Set::On);
  EXPECT_EQ(c.edgeEnable, Set::Off);
  EXPECT_EQ(c.bordersEnable, Set::Off);
  EXPECT_EQ(c.bordersCheck, Set::On);
  EXPECT_EQ(FillPageFormat(true, 2, false, false).bordersEnable, Set::On);
}

TEST(PageFormat, WithoutPageOrderBookletIsOffAndDisabled) {
  // Even a stored booklet choice shows as pages per sheet.
  PageFormatControls c = FillPageFormat(false, kNupBooklet, true, false);
  EXPECT_EQ(c.bookletCheck, Set::Off);
  EXPECT_EQ(c.bookletEnable, Set::Off);
  EXPECT_EQ(c.perSheetCheck, Set::On);
  EXPECT_EQ(c.perSheetEnable, Set::On);
  EXPECT_EQ(c.bordersCheck, Set::Leave);
  PageFormatControls after = NoPageOrder(false);
  EXPECT_EQ(after.directionEnable, Set::Off);
  EXPECT_EQ(after.edgeEnable, Set::Off);
  EXPECT_EQ(after.bordersEnable, Set::Off);
}

TEST(PageFormat, ReducedPageLeavesItsHiddenControlsAlone) {
  for (const PageFormatControls &c :
       {FillPageFormat(true, kNupBooklet, true, true), FillPageFormat(true, 2, true, true),
        PagesPerSheetChosen(true, 0, true, true), PerSheetRadioClicked(true, 1, true, true),
        BookletRadioClicked(true, true, true), BookletDroppedForOneSided(true, true), NoPageOrder(true)}) {
    EXPECT_EQ(c.directionEnable, Set::Leave);
    EXPECT_EQ(c.edgeEnable, Set::Leave);
    EXPECT_EQ(c.bordersEnable, Set::Leave);
    EXPECT_EQ(c.bordersCheck, Set::Leave);
  }
  EXPECT_EQ(BookletRadioClicked(true, true, true).perSheetEnable, Set::Off);
}

TEST(PageFormat, HandlersSwitchBetweenBookletAndPagesPerSheet) {
  PageFormatControls booklet = BookletRadioClicked(true, false, false);
  EXPECT_EQ(booklet.perSheetSelect, 1);
  EXPECT_EQ(booklet.perSheetEnable, Set::Off);
  EXPECT_EQ(booklet.directionEnable, Set::Off);
  EXPECT_EQ(booklet.edgeEnable, Set::On);
  EXPECT_EQ(booklet.bordersCheck, Set::Off);

  PageFormatControls perSheet = PerSheetRadioClicked(true, 0, true, false);
  EXPECT_EQ(perSheet.perSheetEnable, Set::On);
  EXPECT_EQ(perSheet.edgeEnable, Set::Off);
  EXPECT_EQ(perSheet.bordersCheck, Set::Off);
  EXPECT_EQ(perSheet.bordersEnable, Set::Off);

  PageFormatControls dropped = BookletDroppedForOneSided(true, false);
  EXPECT_EQ(dropped.bookletCheck, Set::Off);
  EXPECT_EQ(dropped.perSheetCheck, Set::On);
  EXPECT_EQ(dropped.perSheetSelect, 1);
  EXPECT_EQ(dropped.directionEnable, Set::On);

  EXPECT_EQ(PagesPerSheetChosen(false, 0, true, false).bordersEnable, Set::Leave);
  EXPECT_EQ(PagesPerSheetChosen(true, 3, true, false).bordersCheck, Set::On);
}

TEST(CommitRule, OnlyChangedUnwarnedOrientationAndTwoSidedItems) {
  EXPECT_TRUE(ShouldCommitItem(1, true, true, false));
  EXPECT_TRUE(ShouldCommitItem(7, true, true, false));
  EXPECT_FALSE(ShouldCommitItem(7, true, true, true));
  EXPECT_FALSE(ShouldCommitItem(7, true, false, false));
  EXPECT_FALSE(ShouldCommitItem(7, false, true, false));
  EXPECT_FALSE(ShouldCommitItem(16, true, true, false));
}

TEST(IsWarned, LooksOnlyAtExistingOptions) {
  OptionList list{2, 0, 0xFFFFFFFFu};
  EXPECT_TRUE(IsWarned(list, 1));
  EXPECT_FALSE(IsWarned(list, 2));
  EXPECT_FALSE(IsWarned(list, -1));
}

}  // namespace
}  // namespace qx
