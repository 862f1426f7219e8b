// Constrained marks: the plain definition and the indexed computation.
#pragma once

#include "ppd/ppd_model.h"

namespace qx {

// The marks straight from the definition, comparing every option with every
// constraint for every installed option. The reference for the index.
void MarkConstrainedOptionsPlain(PpdModel *model);

// The marks of a model just read, whose marks are all still 0, in one pass
// over the constraints without the index.
void MarkConstrainedOptionsInOnePass(PpdModel *model);

void FreeConstraintIndex(PpdConstraintIndex *index);

}  // namespace qx
