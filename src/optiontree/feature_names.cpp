#include "optiontree/feature_names.h"

#include "resources/ids_optiontree.h"

namespace qx {

// 1-5: the driver's standard items; 32-36: installable hardware;
// 64-81: printer-specific job features.
const FeatureNameRow kFeatureNameTable[] = {
    {4, 1, IDS_FEATURE_INPUT_SLOT, QX_PPD_STR("*InputSlot")},
    {5, 2, IDS_FEATURE_RESOLUTION, QX_PPD_STR("*Resolution")},
    {12, 3, IDS_FEATURE_MEDIA_TYPE, QX_PPD_STR("*MediaType")},
    {9, 4, IDS_FEATURE_PAGE_SIZE, QX_PPD_STR("*PageSize")},
    {7, 5, IDS_FEATURE_DUPLEX, QX_PPD_STR("*Duplex")},
    {0, 32, IDS_FEATURE_INSTALLED_MEMORY, QX_PPD_STR("*InstalledMemory")},
    {0, 33, IDS_FEATURE_TRAY_UNIT, QX_PPD_STR("*QXTrayUnit")},
    {0, 34, IDS_FEATURE_DUPLEX_UNIT, QX_PPD_STR("*QXDuplexOption")},
    {0, 35, IDS_FEATURE_STACKER_UNIT, QX_PPD_STR("*QXStackerOption")},
    {0, 36, IDS_FEATURE_COMPACT_FLASH, QX_PPD_STR("*QXCompactFlash")},
    {0, 64, IDS_FEATURE_SCREENS, QX_PPD_STR("*QXScreens")},
    {0, 65, IDS_FEATURE_PURE_BLACK, QX_PPD_STR("*QXPureBlack")},
    {0, 66, IDS_FEATURE_CRISPEN, QX_PPD_STR("*QXCrispen")},
    {0, 67, IDS_FEATURE_TONER_SAVE, QX_PPD_STR("*QXToner")},
    {0, 68, IDS_FEATURE_IMAGE_PROTECT, QX_PPD_STR("*QXImageProtect")},
    {0, 69, IDS_FEATURE_COLOR_MODE, QX_PPD_STR("*QXRendering")},
    {0, 70, IDS_FEATURE_PRESS_SIMULATION, QX_PPD_STR("*QXPressSimulation")},
    {0, 71, IDS_FEATURE_CMYK_METHOD, QX_PPD_STR("*QXCMYKMethod")},
    {0, 72, IDS_FEATURE_RGB_SOURCE, QX_PPD_STR("*QXRGBSource")},
    {0, 73, IDS_FEATURE_RGB_INTENT, QX_PPD_STR("*QXRGBIntent")},
    {0, 74, IDS_FEATURE_SEPARATIONS, QX_PPD_STR("*QXSeparations")},
    {0, 75, IDS_FEATURE_OUTPUT_BIN, QX_PPD_STR("*OutputBin")},
    {0, 76, IDS_FEATURE_DENSITY, QX_PPD_STR("*QXDensity")},
    {0, 77, IDS_FEATURE_ROTATE_180, QX_PPD_STR("*QXRotate180Degrees")},
    {0, 78, IDS_FEATURE_ROTATE_90, QX_PPD_STR("*QXRotate90Degrees")},
    {0, 79, IDS_FEATURE_START_SIDE, QX_PPD_STR("*QXStartSide")},
    {0, 80, IDS_FEATURE_AUTO_MONO, QX_PPD_STR("*QXAutoMonoMode")},
    {0, 81, IDS_FEATURE_OUTPUT, QX_PPD_STR("*QXOUTPUTID")},
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
