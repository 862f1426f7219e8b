// Adapts the driver's option items. The driver calls CommonUIProp twice for
// each sheet: a counting pass (no plug-in items) where the PPD model is read
// and refreshed, then an item pass over the driver's own items.
#include "optiontree/option_tree.h"

#include <cstring>
#include <memory>

#include "platform/ppd_file.h"
#include "platform/trace.h"
#include "optiontree/driver_items.h"
#include "optiontree/feature_names.h"
#include "optiontree/layout_item_sets.h"
#include "optiontree/model_match.h"

namespace qx {
namespace {

// Names (resource ids of the driver's common property sheet) of two items of
// the printer properties: the one shown first and the group kept from view.
constexpr ULONG_PTR kInitialItemName = 400;
constexpr ULONG_PTR kHiddenGroupName = 64798;

// Reads the printer's PPD once per plug-in object. A file that cannot be
// opened still gives an (empty) model, so it is not tried again; without a
// path nothing is cached and the next pass tries again.
void ReadModelOnce(POEMCUIPPARAM p, UiContext *ctx) {
  if (ctx->pPpdModel) return;
  const Trace trace(p->hPrinter);
  WCHAR path[MAX_PATH];
  if (!GetPpdFilePath(p->hOEMHeap, p->hPrinter, path)) {
    trace.Line(L"PPD: the driver names no data file; no option is marked");
    return;
  }
  const DWORD started = trace.on() ? GetTickCount() : 0;
  // The reader reads it as text mode would (CR LF as LF, 0x1A ends it).
  PpdFile file(path);
  ctx->pPpdModel = file.ReadModel();
  if (!file.opened())
    trace.Line(L"PPD %ls cannot be opened (error %lu); no option is marked", path, file.error());
  else if (ctx->pPpdModel)
    trace.Line(L"PPD %ls: %d features, %d constraints, read in %lu ms", path, ctx->pPpdModel->FeatureCount(),
               ctx->pPpdModel->ConstraintCount(), GetTickCount() - started);
}

int CountMarkedOptions(const PpdModel &model) {
  int marked = 0;
  for (const PpdFeature *feature : model.features)
    for (const PpdOption *option : feature->options) marked += option->constrained;
  return marked;
}

struct DriverQuery {
  POEMUIOBJ poemuiobj;
  UiContext *ctx;
};

static_assert(kPpdTextUnits == MAX_PATH, "option keywords fit a model text");

bool ReadDriverOption(void *context, const PpdUnit *featureKeyword, PpdUnit (&option)[kPpdTextUnits]) {
  auto *query = static_cast<DriverQuery *>(context);
  return GetDriverFeatureSetting(query->poemuiobj, query->ctx, featureKeyword, option) == S_OK;
}

void CountingPass(DWORD dwMode, POEMCUIPPARAM p, UiContext *ctx) {
  p->cOEMOptItems = 0;
  ReadModelOnce(p, ctx);
  if (dwMode != OEMCUIP_DOCPROP || !ctx->pPpdModel) return;
  DriverQuery query{p->poemuiobj, ctx};
  RefreshInstalledOptions(*ctx->pPpdModel, ReadDriverOption, &query);
  const Trace trace(p->hPrinter);
  if (trace.on()) trace.Line(L"installed hardware excludes %d options", CountMarkedOptions(*ctx->pPpdModel));
}

// Links a driver item to its PPD feature: the standard items by their public
// id, every other item by its name equal to a feature's translation. S_OK
// only for features of the feature table; `feature` may stay null for a
// standard item whose feature the PPD lacks.
HRESULT FindItemFeature(const OPTITEM &item, HMODULE hModule, const PpdModel *model, const PpdFeature **feature) {
  *feature = nullptr;
  if (!model) return E_FAIL;
  FeatureName name;
  switch (item.DMPubID) {
    case DMPUB_DEFSOURCE:
    case DMPUB_PRINTQUALITY:
    case DMPUB_DUPLEX:
    case DMPUB_FORMNAME:
    case DMPUB_MEDIATYPE: {
      if (!hModule) return E_INVALIDARG;
      HRESULT hr = FindFeatureName(hModule, &name, nullptr, item.DMPubID);
      if (hr != S_OK) return hr;
      const FeatureNameRow *row = FindFeatureRowById(name.dwFeatureId);
      if (row) *feature = FindFeatureByKeyword(*model, row->keyword);
      return S_OK;
    }
    default: {
      if (IsResourceId(item.pName)) return E_FAIL;
      const PpdFeature *found = FindFeatureByTranslation(*model, item.pName);
      if (!hModule || !found) return E_INVALIDARG;
      HRESULT hr = FindFeatureName(hModule, &name, found->keyword.text, 0);
      if (hr == S_OK) *feature = found;
      return hr;
    }
  }
}

// Puts the warning overlay on each option that the installed options exclude.
// The overlay is only ever added: the driver may have set it for reasons of
// its own.
void MarkExcludedOptions(const OPTITEM &item, const PpdFeature &feature) {
  if (!item.pOptType || !item.pOptType->pOptParam) return;
  for (LONG k = 0; k < item.pOptType->Count; ++k) {
    OPTPARAM &param = item.pOptType->pOptParam[k];
    if (IsResourceId(param.pData)) continue;
    if (IsOptionTextMarked(feature, param.pData))
      param.Flags |= OPTPF_OVERLAY_WARNING_ICON;
  }
}

void DocumentItemPass(POEMCUIPPARAM p, UiContext *ctx) {
  if (!p->pDrvOptItems) return;
  // The colour item's selection; an item before it sees colour.
  LONG colorState = 1;
  for (DWORD i = 0; i < p->cDrvOptItems; ++i) {
    OPTITEM &item = p->pDrvOptItems[i];
    if (!ctx->bLegacySystem && IsHiddenLayoutItem(item.DMPubID)) item.Flags |= OPTIF_HIDE;
    if (item.DMPubID == DMPUB_COLOR) {
      colorState = item.Sel;
      continue;
    }
    const PpdFeature *feature = nullptr;
    if (FindItemFeature(item, static_cast<HMODULE>(p->hModule), ctx->pPpdModel.get(), &feature) != S_OK) continue;
    if (feature) MarkExcludedOptions(item, *feature);
    if (colorState == 0 && IsColorModeItem(item)) item.Flags |= OPTIF_DISABLED;
  }
}

void HideItem(OPTITEM &item) {
  item.Flags |= OPTIF_HIDE;
  if (!item.pOptType || !item.pOptType->pOptParam) return;
  for (LONG k = 0; k < item.pOptType->Count; ++k) item.pOptType->pOptParam[k].Flags |= OPTPF_HIDE;
}

// Hides the group named by kHiddenGroupName with every deeper item after it,
// up to the next item of the group's own level, and marks the item shown
// first.
void PrinterItemPass(POEMCUIPPARAM p) {
  if (!p->pDrvOptItems) return;
  bool hiding = false;
  BYTE groupLevel = 0;
  for (DWORD i = 0; i < p->cDrvOptItems; ++i) {
    OPTITEM &item = p->pDrvOptItems[i];
    if (hiding) {
      if (item.Level == groupLevel)
        hiding = false;
      else
        HideItem(item);
    }
    if (!IsResourceId(item.pName)) continue;
    ULONG_PTR nameId = reinterpret_cast<ULONG_PTR>(item.pName);
    if (nameId == kInitialItemName) item.Flags |= OPTIF_INITIAL_TVITEM;
    if (nameId == kHiddenGroupName) {
      HideItem(item);
      groupLevel = item.Level;
      hiding = true;
    }
  }
}

}  // namespace

HRESULT CustomizeOptionTree(DWORD dwMode, POEMCUIPPARAM pParam, UiContext *ctx) {
  if (!pParam || !ctx) return S_OK;
  try {
    if (!pParam->pOEMOptItems)
      CountingPass(dwMode, pParam, ctx);
    else if (dwMode == OEMCUIP_DOCPROP)
      DocumentItemPass(pParam, ctx);
    else if (dwMode == OEMCUIP_PRNPROP)
      PrinterItemPass(pParam);
  } catch (...) {
    // Nothing may cross into the driver; the tree stays as far as it got.
  }
  return S_OK;
}

}  // namespace qx
