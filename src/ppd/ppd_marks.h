// Constrained marks: the plain definition and the indexed computation.
#pragma once

#include "ppd/ppd_model.h"

namespace qx {

// The marks straight from the definition, comparing every option with every
// constraint for every installed option. The reference for the index.
void MarkConstrainedOptionsPlain(PpdModel *model);

void FreeConstraintIndex(PpdConstraintIndex *index);

}  // namespace qx
