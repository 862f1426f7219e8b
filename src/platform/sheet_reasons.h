// The property-sheet reasons that printing preferences and printer properties
// answer alike.
#pragma once

#include "platform/printoem.h"

namespace qx {

// Sets pInfo->Result for the reason; `lParam` is the reason's block (a header
// or a SETRESULT_INFO), null tolerated. INIT gets 0: each caller does its own
// INIT work first.
void AnswerSheetReason(PPROPSHEETUI_INFO pInfo, LPARAM lParam);

}  // namespace qx
