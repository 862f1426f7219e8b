#include "jobpage/job_settings_page.h"

#include <commctrl.h>

#include <cstring>
#include <string>

#include "platform/bounded_strings.h"
#include "platform/private_devmode.h"
#include "platform/ui_context.h"
#include "platform/spooler.h"
#include "jobpage/edit_filters.h"
#include "jobpage/job_rules.h"
#include "jobpage/password_mode.h"
#include "resource_ids.h"

namespace qx {
namespace {

constexpr int kReserveGroup = -1;
constexpr int kAccessPasswordLimit = 70;  // characters
constexpr int kReserveNameLimit = 14;
constexpr int kValidationTextUnits = 127;    // 126 characters and a terminator

struct Label {
  int control;
  UINT text;
};
constexpr Label kLabels[] = {
    {IDC_JOB_ACCESS_CONTROL, IDS_JOB_SAVE_ACCESS_CONTROL},
    {IDC_JOB_ACCESS_USER_LABEL, IDS_JOB_USER_NAME},
    {IDC_JOB_DESCRIPTION, IDS_JOB_DESCRIPTION},
    {IDC_JOB_ACCESS_PASSWORD_LABEL, IDS_JOB_PASSWORD},
    {IDC_JOB_ACCESS_GROUP, IDS_JOB_SETTINGS_GROUP},
    {kReserveGroup, IDS_JOB_RESERVE_GROUP},
    {IDC_JOB_RESERVE_JOB, IDS_JOB_CONFIDENTIAL},
    {IDC_JOB_RESERVE_PASSWORD_LABEL, IDS_JOB_PASSWORD},
    {IDC_JOB_RESERVE_USER_LABEL, IDS_JOB_USER_NAME},
    {IDC_JOB_RESERVE_JOB_LABEL, IDS_JOB_JOB_NAME},
};

UiContext *ContextOf(HWND page) { return reinterpret_cast<UiContext *>(GetWindowLongPtrW(page, DWLP_USER)); }

// The page works only with the driver's parameters; without them it shows
// its template and ignores the user.
bool HasDriverParams(const UiContext *ctx) { return ctx && ctx->pCuiParam; }

// The driver's block when it is the plug-in's own; a foreign or missing block
// is never read or written.
PrivateDevmode *DevmodeBlock(const UiContext *ctx) {
  auto *block = static_cast<PrivateDevmode *>(ctx->pCuiParam->pOEMDM);
  if (!block || block->dwSize != kPrivateDevmodeSize || block->dwSignature != kPluginSignature ||
      block->dwVersion != kPrivateDevmodeVersion)
    return nullptr;
  return block;
}

bool IsChecked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

void Enable(HWND page, int id, bool on) {
  if (HWND control = GetDlgItem(page, id)) EnableWindow(control, on);
}

void EnableAccessControls(HWND page) {
  bool on = IsChecked(page, IDC_JOB_ACCESS_CONTROL);
  Enable(page, IDC_JOB_ACCESS_USER_NAME, on);
  Enable(page, IDC_JOB_ACCESS_PASSWORD, on);
}

void EnableReserveControls(HWND page) {
  bool on = IsChecked(page, IDC_JOB_RESERVE_JOB);
  Enable(page, IDC_JOB_RESERVE_JOB_NAME, on);
  Enable(page, IDC_JOB_RESERVE_USER_NAME, on);
  Enable(page, IDC_JOB_RESERVE_PASSWORD, on);
}

HMODULE ModuleOf(const OEMCUIPPARAM &param) { return static_cast<HMODULE>(param.hModule); }

void SetLabels(HWND page, const OEMCUIPPARAM &param) {
  for (const Label &label : kLabels) SetControlString(page, label.control, ModuleOf(param), param.hOEMHeap, label.text);
}

void LimitText(HWND page, int id, size_t limit) { SendDlgItemMessageW(page, id, EM_LIMITTEXT, limit, 0); }

void SetLimitsAndFilters(HWND page, DWORD mode) {
  LimitText(page, IDC_JOB_ACCESS_USER_NAME, kAccessUserNameLimit);
  LimitText(page, IDC_JOB_ACCESS_PASSWORD, kAccessPasswordLimit);
  LimitText(page, IDC_JOB_RESERVE_USER_NAME, kReserveNameLimit);
  LimitText(page, IDC_JOB_RESERVE_JOB_NAME, kReserveNameLimit);
  LimitText(page, IDC_JOB_RESERVE_PASSWORD, ReservePasswordLimit(mode));

  FilterEdit(GetDlgItem(page, IDC_JOB_ACCESS_USER_NAME), EditFilter::Name);
  FilterEdit(GetDlgItem(page, IDC_JOB_ACCESS_PASSWORD), EditFilter::AccessPassword);
  FilterEdit(GetDlgItem(page, IDC_JOB_RESERVE_USER_NAME), EditFilter::Name);
  FilterEdit(GetDlgItem(page, IDC_JOB_RESERVE_JOB_NAME), EditFilter::Name);
  FilterEdit(GetDlgItem(page, IDC_JOB_RESERVE_PASSWORD), ReservePasswordFilter(mode));
}

// A UTF-16 field shown only up to its first NUL within the field; a field
// without one reads as empty, as everywhere else it is counted.
void ShowField(HWND page, int id, const char16_t *field) {
  WCHAR text[kTextUnits] = {};
  size_t length = LengthBounded(field);
  std::memcpy(text, field, length * sizeof(WCHAR));
  SetDlgItemTextW(page, id, text);
}

void ShowAccessPassword(HWND page, const PrivateDevmode &dm) {
  const size_t capacity = sizeof dm.szAccessPassword;
  size_t length = strnlen(dm.szAccessPassword, capacity);
  WCHAR text[261] = {};
  if (length) MultiByteToWideChar(CP_UTF8, 0, dm.szAccessPassword, static_cast<int>(length), text, 260);
  SetDlgItemTextW(page, IDC_JOB_ACCESS_PASSWORD, text);
}

void LoadValues(HWND page, const PrivateDevmode &dm, DWORD mode) {
  CheckDlgButton(page, IDC_JOB_RESERVE_JOB, BST_UNCHECKED);
  if (dm.dwReserveJobType == 4) {
    CheckDlgButton(page, IDC_JOB_RESERVE_JOB, BST_CHECKED);
  } else if (dm.dwReserveJobType == 5) {
    CheckDlgButton(page, IDC_JOB_CONFIDENTIAL_OPTION, BST_CHECKED);
    CheckDlgButton(page, IDC_JOB_RESERVE_JOB, BST_CHECKED);
  }
  CheckDlgButton(page, IDC_JOB_ACCESS_CONTROL, dm.bAccessControl ? BST_CHECKED : BST_UNCHECKED);
  ShowField(page, IDC_JOB_RESERVE_USER_NAME, dm.wszReserveUserName);
  if (ShowsReservePassword(dm.dwReserveJobType, LengthBounded(dm.wszReservePassword), mode))
    ShowField(page, IDC_JOB_RESERVE_PASSWORD, dm.wszReservePassword);
  else
    SetDlgItemTextW(page, IDC_JOB_RESERVE_PASSWORD, L"");
  ShowField(page, IDC_JOB_RESERVE_JOB_NAME, dm.wszReserveJobName);
  ShowField(page, IDC_JOB_ACCESS_USER_NAME, dm.wszAccessUserName);
  ShowAccessPassword(page, dm);
}

void OnInitDialog(HWND page, LPARAM lParam) {
  auto *record = reinterpret_cast<const PROPSHEETPAGEW *>(lParam);
  auto *ctx = record ? reinterpret_cast<UiContext *>(record->lParam) : nullptr;
  SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<LONG_PTR>(ctx));
  DWORD mode = GetPasswordMode(ctx);
  if (HasDriverParams(ctx)) SetLabels(page, *ctx->pCuiParam);
  SetLimitsAndFilters(page, mode);
  if (HasDriverParams(ctx))
    if (const PrivateDevmode *dm = DevmodeBlock(ctx)) LoadValues(page, *dm, mode);
  EnableAccessControls(page);
  EnableReserveControls(page);
}

int TextLength(HWND page, int id) {
  WCHAR text[kValidationTextUnits] = {};
  return GetDlgItemTextW(page, id, text, kValidationTextUnits);
}

// The whole text of a control, however long.
std::wstring ControlText(HWND page, int id) {
  const LRESULT length = SendDlgItemMessageW(page, id, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(length > 0 ? static_cast<size_t>(length) : 0, L'\0');
  if (!text.empty()) text.resize(GetDlgItemTextW(page, id, &text[0], static_cast<int>(text.size()) + 1));
  return text;
}

size_t Utf8Bytes(const std::wstring &text) {
  if (text.empty()) return 0;
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  return bytes > 0 ? static_cast<size_t>(bytes) : 0;
}

bool ReserveEntriesValid(HWND page, UiContext *ctx) {
  if (!IsChecked(page, IDC_JOB_RESERVE_JOB)) return true;
  return ReserveEntriesComplete(TextLength(page, IDC_JOB_RESERVE_USER_NAME), TextLength(page, IDC_JOB_RESERVE_JOB_NAME),
                                TextLength(page, IDC_JOB_RESERVE_PASSWORD), GetPasswordMode(ctx));
}

bool AccessEntriesValid(HWND page) {
  if (!IsChecked(page, IDC_JOB_ACCESS_CONTROL)) return true;
  return AccessEntriesFit(ControlText(page, IDC_JOB_ACCESS_USER_NAME).size(),
                          Utf8Bytes(ControlText(page, IDC_JOB_ACCESS_PASSWORD)));
}

void Warn(HWND page, const OEMCUIPPARAM &param, UINT textId) {
  HeapString caption = LoadPluginString(ModuleOf(param), param.hOEMHeap, IDS_ERROR_CAPTION);
  HeapString text = LoadPluginString(ModuleOf(param), param.hOEMHeap, textId);
  MessageBoxW(page, text ? text.get() : L"", caption ? caption.get() : L"", MB_ICONWARNING);
}

bool Validate(HWND page, UiContext *ctx) {
  UINT problem = 0;
  if (!ReserveEntriesValid(page, ctx)) problem = IDS_JOB_RESERVE_INCOMPLETE;
  else if (!AccessEntriesValid(page)) problem = IDS_JOB_ACCESS_TOO_LONG;
  if (!problem) return true;
  Warn(page, *ctx->pCuiParam, problem);
  return false;
}

// Reads a control's text into a UTF-16 field: at most units - 1 characters,
// the rest of the field cleared, so no tail of an older text survives.
void ReadField(HWND page, int id, char16_t (&field)[kTextUnits], int units) {
  std::memset(field, 0, sizeof field);
  GetDlgItemTextW(page, id, reinterpret_cast<WCHAR *>(field), units);
  field[units - 1] = 0;
}

void StoreAccessPassword(HWND page, PrivateDevmode *dm) {
  WCHAR text[kAccessPasswordLimit + 1] = {};
  int length = GetDlgItemTextW(page, IDC_JOB_ACCESS_PASSWORD, text, kAccessPasswordLimit + 1);
  char utf8[kAccessPasswordLimit * 3 + 1] = {};
  int bytes = length ? WideCharToMultiByte(CP_UTF8, 0, text, length, utf8, sizeof utf8 - 1, nullptr, nullptr) : 0;
  if (bytes < 0) bytes = 0;
  // Validation refused a password that does not fit; the cut at a character
  // boundary only guards the field.
  size_t kept = Utf8PrefixLength(utf8, static_cast<size_t>(bytes), kAccessPasswordByteLimit);
  std::memset(dm->szAccessPassword, 0, sizeof dm->szAccessPassword);
  std::memcpy(dm->szAccessPassword, utf8, kept);
}

void StoreValues(HWND page, UiContext *ctx) {
  PrivateDevmode *dm = DevmodeBlock(ctx);
  if (!dm) return;
  if (IsChecked(page, IDC_JOB_RESERVE_JOB)) {
    dm->dwReserveJobType = 5;
    ReadField(page, IDC_JOB_RESERVE_PASSWORD, dm->wszReservePassword, 9);
    ReadField(page, IDC_JOB_RESERVE_USER_NAME, dm->wszReserveUserName, kTextUnits);
    ReadField(page, IDC_JOB_RESERVE_JOB_NAME, dm->wszReserveJobName, kTextUnits);
  } else {
    dm->dwReserveJobType = 0;
  }
  if (IsChecked(page, IDC_JOB_ACCESS_CONTROL)) {
    dm->bAccessControl = 1;
    StoreAccessPassword(page, dm);
    ReadField(page, IDC_JOB_ACCESS_USER_NAME, dm->wszAccessUserName, kAccessUserNameLimit + 1);
  } else {
    dm->bAccessControl = 0;
  }
}

void OnCommand(HWND page, WPARAM wParam) {
  int id = LOWORD(wParam);
  int code = HIWORD(wParam);
  HWND sheet = GetParent(page);
  if (code == BN_CLICKED) {
    switch (id) {
      case IDC_JOB_CONFIDENTIAL_OPTION:
      case IDC_JOB_TYPE_BUTTON_1:
      case IDC_JOB_TYPE_BUTTON_2:
      case IDC_JOB_TYPE_BUTTON_3:
      case IDC_JOB_RESERVE_JOB:
        PropSheet_Changed(sheet, page);
        EnableReserveControls(page);
        return;
      case IDC_JOB_ACCESS_CONTROL:
        PropSheet_Changed(sheet, page);
        EnableAccessControls(page);
        return;
    }
  } else if (code == EN_CHANGE) {
    switch (id) {
      case IDC_JOB_ACCESS_USER_NAME:
      case IDC_JOB_ACCESS_PASSWORD:
      case IDC_JOB_RESERVE_PASSWORD:
      case IDC_JOB_RESERVE_USER_NAME:
      case IDC_JOB_RESERVE_JOB_NAME:
        PropSheet_Changed(sheet, page);
        return;
    }
  }
}

INT_PTR OnNotify(HWND page, UiContext *ctx, const NMHDR *header) {
  if (!header) return TRUE;
  switch (header->code) {
    case PSN_RESET:
      return FALSE;
    case PSN_APPLY:
    case PSN_KILLACTIVE: {
      HWND sheet = GetParent(page);
      if (!Validate(page, ctx)) {
        SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_INVALID_NOCHANGEPAGE);
        return TRUE;
      }
      if (ctx->pfnComPropSheet)
        ctx->pfnComPropSheet(ctx->hComPropSheet, CPSFUNC_SET_RESULT, reinterpret_cast<LPARAM>(ctx->hJobSettingsPage),
                             CPSUI_OK);
      PropSheet_UnChanged(sheet, page);
      SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_NOERROR);
      StoreValues(page, ctx);
      PropSheet_UnChanged(sheet, page);
      return TRUE;
    }
    default:
      return TRUE;
  }
}

}  // namespace

INT_PTR CALLBACK JobSettingsPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    OnInitDialog(page, lParam);
    return FALSE;
  }
  UiContext *ctx = ContextOf(page);
  if (!HasDriverParams(ctx)) return FALSE;
  switch (msg) {
    case WM_COMMAND:
      OnCommand(page, wParam);
      return FALSE;
    case WM_NOTIFY:
      return OnNotify(page, ctx, reinterpret_cast<const NMHDR *>(lParam));
    default:
      return FALSE;
  }
}

}  // namespace qx
