// The table that ties the driver's items to the printer's PPD features: each
// row names a feature by the driver's public id (standard items) or by its
// PPD keyword (every other item), and the string that names it for the user.
#pragma once

#include <cstdint>

#include "ppd/ppd_model.h"

namespace qx {

struct FeatureNameRow {
  uint32_t dmPubId;         // the driver's DMPUB_* id, 0 for a printer-specific feature
  uint32_t featureId;       // 0 ends the table
  uint32_t stringId;        // entry of the plug-in's string table
  const PpdUnit *keyword;  // PPD main keyword with its asterisk
};

// Rows in a fixed order, ended by the row whose feature id is 0.
extern const FeatureNameRow kFeatureNameTable[];

// The first row that matches: its DMPubID equals `dmPubId` and, when that id
// is 0, its keyword equals `keyword` (a null keyword never matches then).
// Null when no row matches.
const FeatureNameRow *FindFeatureRow(const PpdUnit *keyword, uint32_t dmPubId);

// The first row with this feature id (never the end row); null when none.
const FeatureNameRow *FindFeatureRowById(uint32_t featureId);

// Exact comparison of two zero-terminated UTF-16 texts.
bool EqualText(const PpdUnit *a, const PpdUnit *b);

}  // namespace qx
