// Constrained marks: the plain definition and the indexed computation.
#pragma once

#include "ppd/ppd_model.h"

namespace qx {

struct PpdConstraintIndexStats;

// The marks straight from the definition, comparing every option with every
// constraint for every installed option. The reference for the index.
void MarkConstrainedOptionsPlain(PpdModel *model);

// The figures of the model's constraint index; null while it has none.
const PpdConstraintIndexStats *ConstraintIndexStats(const PpdModel &model);

}  // namespace qx
