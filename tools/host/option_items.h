// The driver's option items (compstui OPTITEMs) as the PostScript driver
// builds them from the PPD and hands them to plug-ins through CommonUIProp:
// standard items with their DMPUB_* ids, one item per remaining PPD feature
// named by its translation, whose USERDATA carries the feature keyword, and
// one option parameter per option named by the option's translation.
#pragma once

#include <windows.h>
#include <compstui.h>

#include <deque>
#include <string>
#include <vector>

#include "platform/printoem.h"
#include "host/description.h"
#include "host/document_settings.h"

namespace qxhost {

// Resource ids the PostScript driver uses as item names in printer properties.
constexpr ULONG_PTR kInstallableOptionsNameId = 400;
constexpr ULONG_PTR kFormTrayNameId = IDS_CPSUI_FORMTRAYASSIGN;  // 64798

enum class ItemRole { kHeader, kFeature, kOrientation, kPagesPerSheet, kPageOrder, kNupDirection, kBookletEdge,
                      kColor, kTray };

class ItemTree {
 public:
  ItemTree() = default;
  ItemTree(const ItemTree &) = delete;
  ItemTree &operator=(const ItemTree &) = delete;

  // Document properties: the standard layout, colour and paper items, then
  // every other document feature of the PPD.
  void BuildDocument(const PrinterDescription &desc, const DocumentSettings &settings);
  // Printer properties: the form-to-tray group, then the installable options.
  void BuildDevice(const PrinterDescription &desc, const FeatureChoices &device);

  OPTITEM *items() { return items_.empty() ? nullptr : items_.data(); }
  DWORD count() const { return static_cast<DWORD>(items_.size()); }
  int IndexOf(const void *item) const;  // -1 when not one of ours
  ItemRole role(int i) const { return roles_[i]; }
  int feature(int i) const { return features_[i]; }
  // Display name, resolving the driver's resource ids.
  std::wstring Name(int i) const;
  std::wstring OptionText(int i, int k) const;
  // The item whose USERDATA keyword is `keyword`, or -1.
  int FindByKeyword(const std::string &keyword) const;

  // Writes item i's selection into the settings (document items) or the
  // device choices (printer items).
  void Commit(int i, DocumentSettings *settings) const;
  void CommitAll(DocumentSettings *settings) const;

 private:
  int Add(ItemRole role, int feature, const std::wstring &name, ULONG_PTR nameId, BYTE level, BYTE dmPubId,
          const std::vector<std::wstring> &options, int sel, const std::string &keyword);

  std::vector<OPTITEM> items_;  // never grows once handed out
  std::vector<ItemRole> roles_;
  std::vector<int> features_;
  std::deque<OPTTYPE> types_;
  std::deque<std::vector<OPTPARAM>> params_;
  std::deque<USERDATA> userData_;
  std::deque<std::wstring> texts_;
  std::deque<std::string> keywords_;
};

}  // namespace qxhost
