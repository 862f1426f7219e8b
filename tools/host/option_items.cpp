#include "host/option_items.h"

namespace qxhost {
namespace {

// Features that standard items show, with the item's DMPUB id.
struct StandardFeature {
  const char *keyword;
  BYTE dmPubId;
};
constexpr StandardFeature kStandardFeatures[] = {
    {"Duplex", DMPUB_DUPLEX},     {"InputSlot", DMPUB_DEFSOURCE},     {"PageSize", DMPUB_FORMNAME},
    {"MediaType", DMPUB_MEDIATYPE}, {"Resolution", DMPUB_PRINTQUALITY},
};

bool ShownByStandardItem(const std::string &keyword) {
  if (keyword == "PageRegion") return true;  // the driver keeps it in step with PageSize
  for (const StandardFeature &s : kStandardFeatures)
    if (keyword == s.keyword) return true;
  return false;
}

std::vector<std::wstring> OptionTexts(const HostFeature &f) {
  std::vector<std::wstring> texts;
  for (const HostOption &o : f.options) texts.push_back(o.translation);
  return texts;
}

std::wstring ResourceName(ULONG_PTR id) {
  switch (id) {
    case kInstallableOptionsNameId: return L"Installable Options";
    case kFormTrayNameId: return L"Form To Tray Assignment";
    default: return L"#" + std::to_wstring(id);
  }
}

}  // namespace

int ItemTree::Add(ItemRole role, int feature, const std::wstring &name, ULONG_PTR nameId, BYTE level,
                  BYTE dmPubId, const std::vector<std::wstring> &options, int sel, const std::string &keyword) {
  OPTITEM item = {};
  item.cbSize = sizeof item;
  item.Level = level;
  if (nameId) {
    item.pName = reinterpret_cast<LPTSTR>(nameId);
  } else {
    texts_.push_back(name);
    item.pName = const_cast<LPTSTR>(texts_.back().c_str());
  }
  item.Sel = sel;
  item.DMPubID = dmPubId;
  if (!options.empty()) {
    std::vector<OPTPARAM> params;
    for (const std::wstring &text : options) {
      texts_.push_back(text);
      OPTPARAM p = {};
      p.cbSize = sizeof p;
      p.pData = const_cast<LPTSTR>(texts_.back().c_str());
      params.push_back(p);
    }
    params_.push_back(std::move(params));
    OPTTYPE type = {};
    type.cbSize = sizeof type;
    type.Type = TVOT_LISTBOX;
    type.Count = static_cast<WORD>(options.size());
    type.pOptParam = params_.back().data();
    types_.push_back(type);
    item.pOptType = &types_.back();
  }
  USERDATA data = {};
  data.dwSize = sizeof data;
  data.dwItemID = items_.size();
  if (!keyword.empty()) {
    keywords_.push_back(keyword);
    data.pKeyWordName = const_cast<PSTR>(keywords_.back().c_str());
  }
  userData_.push_back(data);
  item.UserData = reinterpret_cast<ULONG_PTR>(&userData_.back());
  items_.push_back(item);
  roles_.push_back(role);
  features_.push_back(feature);
  return static_cast<int>(items_.size()) - 1;
}

void ItemTree::BuildDocument(const PrinterDescription &desc, const DocumentSettings &s) {
  const LayoutSettings &l = s.layout;
  auto choice = [&](int f) { return f >= 0 && f < static_cast<int>(s.choices.index.size()) ? s.choices.index[f] : 0; };
  Add(ItemRole::kOrientation, -1, L"Orientation", 0, 1, DMPUB_ORIENTATION,
      {L"Portrait", L"Landscape", L"Rotated Landscape"}, l.orientation, "");
  int duplex = desc.FindFeature("Duplex");
  if (duplex >= 0)
    Add(ItemRole::kFeature, duplex, desc.features[duplex].translation, 0, 1, DMPUB_DUPLEX,
        OptionTexts(desc.features[duplex]), choice(duplex), "Duplex");
  Add(ItemRole::kPageOrder, -1, L"Page Order", 0, 1, DMPUB_PAGEORDER, {L"Front to Back", L"Back to Front"},
      l.pageOrder, "");
  int nup = Add(ItemRole::kPagesPerSheet, -1, L"Pages per Sheet", 0, 1, DMPUB_NUP,
                {L"1", L"2", L"4", L"6", L"9", L"16", L"Booklet"}, l.pagesPerSheet, "");
  if (l.drawBorders) items_[nup].Flags |= OPTIF_ECB_CHECKED;
  Add(ItemRole::kNupDirection, -1, L"Pages per Sheet Layout", 0, 1, DMPUB_NUP_DIRECTION,
      {L"Right then Down", L"Down then Right", L"Left then Down", L"Down then Left"}, l.nupDirection, "");
  Add(ItemRole::kBookletEdge, -1, L"Booklet Binding Edge", 0, 1, DMPUB_BOOKLET_EDGE,
      {L"Left Edge", L"Right Edge"}, l.bookletEdge, "");
  if (desc.colorDevice)
    Add(ItemRole::kColor, -1, L"Color", 0, 1, DMPUB_COLOR, {L"Monochrome", L"Color"}, l.color, "");
  for (const StandardFeature &sf : kStandardFeatures) {
    if (sf.dmPubId == DMPUB_DUPLEX) continue;
    int f = desc.FindFeature(sf.keyword);
    if (f < 0) continue;
    Add(ItemRole::kFeature, f, desc.features[f].translation, 0, 1, sf.dmPubId, OptionTexts(desc.features[f]),
        choice(f), sf.keyword);
  }
  for (size_t i = 0; i < desc.features.size(); ++i) {
    const HostFeature &f = desc.features[i];
    if (IsDeviceFeature(f) || ShownByStandardItem(f.keyword)) continue;
    Add(ItemRole::kFeature, static_cast<int>(i), f.translation, 0, 1, 0, OptionTexts(f), choice(static_cast<int>(i)),
        f.keyword);
  }
}

void ItemTree::BuildDevice(const PrinterDescription &desc, const FeatureChoices &device) {
  Add(ItemRole::kHeader, -1, L"", kFormTrayNameId, 1, 0, {}, 0, "");
  int slot = desc.FindFeature("InputSlot");
  int size = desc.FindFeature("PageSize");
  if (slot >= 0 && size >= 0) {
    for (const HostOption &o : desc.features[slot].options)
      Add(ItemRole::kTray, slot, o.translation, 0, 2, 0, OptionTexts(desc.features[size]),
          desc.features[size].DefaultIndex(), "");
  }
  Add(ItemRole::kHeader, -1, L"", kInstallableOptionsNameId, 1, 0, {}, 0, "");
  for (size_t i = 0; i < desc.features.size(); ++i) {
    const HostFeature &f = desc.features[i];
    if (!IsDeviceFeature(f)) continue;
    int sel = i < device.index.size() ? device.index[i] : f.DefaultIndex();
    Add(ItemRole::kFeature, static_cast<int>(i), f.translation, 0, 2, 0, OptionTexts(f), sel, f.keyword);
  }
}

int ItemTree::IndexOf(const void *item) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (&items_[i] == item) return static_cast<int>(i);
  return -1;
}

std::wstring ItemTree::Name(int i) const {
  ULONG_PTR p = reinterpret_cast<ULONG_PTR>(items_[i].pName);
  if (p < 0x10000) return ResourceName(p);
  return items_[i].pName;
}

std::wstring ItemTree::OptionText(int i, int k) const {
  const OPTTYPE *t = items_[i].pOptType;
  if (!t || k < 0 || k >= t->Count) return L"";
  ULONG_PTR p = reinterpret_cast<ULONG_PTR>(t->pOptParam[k].pData);
  return p < 0x10000 ? ResourceName(p) : std::wstring(t->pOptParam[k].pData);
}

int ItemTree::FindByKeyword(const std::string &keyword) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    auto *data = reinterpret_cast<const USERDATA *>(items_[i].UserData);
    if (data && data->pKeyWordName && keyword == data->pKeyWordName) return static_cast<int>(i);
  }
  return -1;
}

void ItemTree::Commit(int i, DocumentSettings *s) const {
  const OPTITEM &item = items_[i];
  int count = item.pOptType ? item.pOptType->Count : 0;
  int sel = item.Sel;
  if (sel < 0 || sel >= count) return;  // nothing sensible to keep
  LayoutSettings &l = s->layout;
  switch (roles_[i]) {
    case ItemRole::kFeature:
      if (features_[i] >= 0 && features_[i] < static_cast<int>(s->choices.index.size()))
        s->choices.index[features_[i]] = sel;
      break;
    case ItemRole::kOrientation: l.orientation = sel; break;
    case ItemRole::kPagesPerSheet:
      l.pagesPerSheet = sel;
      l.drawBorders = (item.Flags & OPTIF_ECB_CHECKED) != 0;
      break;
    case ItemRole::kPageOrder: l.pageOrder = sel; break;
    case ItemRole::kNupDirection: l.nupDirection = sel; break;
    case ItemRole::kBookletEdge: l.bookletEdge = sel; break;
    case ItemRole::kColor: l.color = sel; break;
    case ItemRole::kHeader:
    case ItemRole::kTray: break;
  }
}

void ItemTree::CommitAll(DocumentSettings *s) const {
  for (size_t i = 0; i < items_.size(); ++i) Commit(static_cast<int>(i), s);
}

}  // namespace qxhost
