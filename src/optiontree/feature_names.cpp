#include "optiontree/feature_names.h"

namespace qx {

// 1-5: the driver's standard items; 32-36: installable hardware;
// 64-81: printer-specific job features.
const FeatureNameRow kFeatureNameTable[] = {
    {4, 1, 10001, u"*InputSlot"},
    {5, 2, 10002, u"*Resolution"},
    {12, 3, 10003, u"*MediaType"},
    {9, 4, 10007, u"*PageSize"},
    {7, 5, 10025, u"*Duplex"},
    {0, 32, 10004, u"*InstalledMemory"},
    {0, 33, 10005, u"*QXTrayUnit"},
    {0, 34, 10006, u"*QXDuplexOption"},
    {0, 35, 10024, u"*QXStackerOption"},
    {0, 36, 10028, u"*QXCompactFlash"},
    {0, 64, 10008, u"*QXScreens"},
    {0, 65, 10009, u"*QXPureBlack"},
    {0, 66, 10010, u"*QXCrispen"},
    {0, 67, 10011, u"*QXToner"},
    {0, 68, 10012, u"*QXImageProtect"},
    {0, 69, 10013, u"*QXRendering"},
    {0, 70, 10014, u"*QXPressSimulation"},
    {0, 71, 10017, u"*QXCMYKMethod"},
    {0, 72, 10015, u"*QXRGBSource"},
    {0, 73, 10016, u"*QXRGBIntent"},
    {0, 74, 10018, u"*QXSeparations"},
    {0, 75, 10019, u"*OutputBin"},
    {0, 76, 10020, u"*QXDensity"},
    {0, 77, 10021, u"*QXRotate180Degrees"},
    {0, 78, 10022, u"*QXRotate90Degrees"},
    {0, 79, 10023, u"*QXStartSide"},
    {0, 80, 10026, u"*QXAutoMonoMode"},
    {0, 81, 10027, u"*QXOUTPUTID"},
    {0, 0, 0, u""},
};

bool EqualText(const char16_t *a, const char16_t *b) {
  if (!a || !b) return false;
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

const FeatureNameRow *FindFeatureRow(const char16_t *keyword, uint32_t dmPubId) {
  for (const FeatureNameRow *row = kFeatureNameTable; row->featureId != 0; ++row) {
    if (row->dmPubId != dmPubId) continue;
    if (dmPubId != 0 || EqualText(row->keyword, keyword)) return row;
  }
  return nullptr;
}

const FeatureNameRow *FindFeatureRowById(uint32_t featureId) {
  if (featureId == 0) return nullptr;
  for (const FeatureNameRow *row = kFeatureNameTable; row->featureId != 0; ++row)
    if (row->featureId == featureId) return row;
  return nullptr;
}

}  // namespace qx
