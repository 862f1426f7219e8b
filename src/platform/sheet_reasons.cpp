#include "platform/sheet_reasons.h"

namespace qx {

void AnswerSheetReason(PPROPSHEETUI_INFO pInfo, LPARAM lParam) {
  switch (pInfo->Reason) {
    case PROPSHEETUI_REASON_GET_INFO_HEADER:
      if (auto *header = reinterpret_cast<PPROPSHEETUI_INFO_HEADER>(lParam))
        header->pTitle = const_cast<LPWSTR>(L"OEM UI Page");
      pInfo->Result = 1;
      break;
    case PROPSHEETUI_REASON_DESTROY:
      pInfo->Result = 1;
      break;
    case PROPSHEETUI_REASON_SET_RESULT: {
      auto *result = reinterpret_cast<PSETRESULT_INFO>(lParam);
      pInfo->Result = result ? result->Result : 0;
      break;
    }
    default:
      pInfo->Result = 0;
      break;
  }
}

}  // namespace qx
