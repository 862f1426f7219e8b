#include "optiontree/feature_names.h"

namespace qx {

// 1-5: the driver's standard items; 32-36: installable hardware;
// 64-81: printer-specific job features.
const FeatureNameRow kFeatureNameTable[] = {
    {4, 1, 10001, QX_PPD_STR("*InputSlot")},
    {5, 2, 10002, QX_PPD_STR("*Resolution")},
    {12, 3, 10003, QX_PPD_STR("*MediaType")},
    {9, 4, 10007, QX_PPD_STR("*PageSize")},
    {7, 5, 10025, QX_PPD_STR("*Duplex")},
    {0, 32, 10004, QX_PPD_STR("*InstalledMemory")},
    {0, 33, 10005, QX_PPD_STR("*QXTrayUnit")},
    {0, 34, 10006, QX_PPD_STR("*QXDuplexOption")},
    {0, 35, 10024, QX_PPD_STR("*QXStackerOption")},
    {0, 36, 10028, QX_PPD_STR("*QXCompactFlash")},
    {0, 64, 10008, QX_PPD_STR("*QXScreens")},
    {0, 65, 10009, QX_PPD_STR("*QXPureBlack")},
    {0, 66, 10010, QX_PPD_STR("*QXCrispen")},
    {0, 67, 10011, QX_PPD_STR("*QXToner")},
    {0, 68, 10012, QX_PPD_STR("*QXImageProtect")},
    {0, 69, 10013, QX_PPD_STR("*QXRendering")},
    {0, 70, 10014, QX_PPD_STR("*QXPressSimulation")},
    {0, 71, 10017, QX_PPD_STR("*QXCMYKMethod")},
    {0, 72, 10015, QX_PPD_STR("*QXRGBSource")},
    {0, 73, 10016, QX_PPD_STR("*QXRGBIntent")},
    {0, 74, 10018, QX_PPD_STR("*QXSeparations")},
    {0, 75, 10019, QX_PPD_STR("*OutputBin")},
    {0, 76, 10020, QX_PPD_STR("*QXDensity")},
    {0, 77, 10021, QX_PPD_STR("*QXRotate180Degrees")},
    {0, 78, 10022, QX_PPD_STR("*QXRotate90Degrees")},
    {0, 79, 10023, QX_PPD_STR("*QXStartSide")},
    {0, 80, 10026, QX_PPD_STR("*QXAutoMonoMode")},
    {0, 81, 10027, QX_PPD_STR("*QXOUTPUTID")},
    {0, 0, 0, QX_PPD_STR("")},
};

bool EqualText(const PpdUnit *a, const PpdUnit *b) {
  if (!a || !b) return false;
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

const FeatureNameRow *FindFeatureRow(const PpdUnit *keyword, uint32_t dmPubId) {
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
