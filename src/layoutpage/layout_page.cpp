// The Layout page's dialog procedure, labels and icons.
#include "layoutpage/layout_page.h"

#include <prsht.h>

#include <initializer_list>

#include "activation/activation.h"
#include "platform/spooler.h"
#include "layoutpage/layout_page_items.h"
#include "layoutpage/layout_preview.h"
#include "resources/ids_artwork.h"
#include "resources/ids_layoutpage.h"

namespace qx {

namespace {

struct Label {
  int control;
  UINT text;
  bool onReducedPage;  // also shown on the build with the reduced page
};
constexpr Label kLabels[] = {
    {IDC_ORIENTATION_LABEL, IDS_ORIENTATION_LABEL, true}, {IDC_DUPLEX_LABEL, IDS_DUPLEX_LABEL, true},
    {IDC_PAGEORDER_LABEL, IDS_PAGEORDER_LABEL, true},     {IDC_PAGEFORMAT_GROUP, IDS_PAGEFORMAT_GROUP, true},
    {IDC_PERSHEET_RADIO, IDS_PERSHEET_RADIO, true},       {IDC_BOOKLET_RADIO, IDS_BOOKLET_RADIO, true},
    {IDC_NUPDIRECTION_LABEL, IDS_NUPDIRECTION_LABEL, false},
    {IDC_BINDINGEDGE_LABEL, IDS_BINDINGEDGE_LABEL, false},
    {IDC_BORDERS_CHECK, IDS_BORDERS_CHECK, false},
};

// Icon groups in image-list order: each picture, then its warning variant.
constexpr WORD kLayoutIcons[] = {
    IDI_PORTRAIT,           IDI_PORTRAIT_WARN,           IDI_LANDSCAPE,           IDI_LANDSCAPE_WARN,
    IDI_ROTATED_LANDSCAPE,  IDI_ROTATED_LANDSCAPE_WARN,  IDI_ONE_SIDED,           IDI_ONE_SIDED_WARN,
    IDI_FLIP_SHORT_PORTRAIT, IDI_FLIP_SHORT_PORTRAIT_WARN, IDI_FLIP_LONG_PORTRAIT, IDI_FLIP_LONG_PORTRAIT_WARN,
    IDI_FLIP_SHORT_LANDSCAPE, IDI_FLIP_SHORT_LANDSCAPE_WARN, IDI_FLIP_LONG_LANDSCAPE, IDI_FLIP_LONG_LANDSCAPE_WARN,
    IDI_WARNING_SIGN};

// Controls that the reduced page hides for good.
constexpr int kReducedPageHidden[] = {IDC_NUPDIRECTION_LIST, IDC_NUPDIRECTION_LABEL, IDC_BINDINGEDGE_LIST,
                                      IDC_BINDINGEDGE_LABEL, IDC_BORDERS_CHECK};

UiContext *ContextOf(HWND page) { return reinterpret_cast<UiContext *>(GetWindowLongPtrW(page, DWLP_USER)); }

// The page's own image list lives in the dialog's user data slot.
HIMAGELIST ImagesOf(HWND page) { return reinterpret_cast<HIMAGELIST>(GetWindowLongPtrW(page, GWLP_USERDATA)); }

void OnInitDialog(HWND page, const PROPSHEETPAGEW *record) {
  auto *ctx = record ? reinterpret_cast<UiContext *>(record->lParam) : nullptr;
  SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<LONG_PTR>(ctx));
  if (!ctx) return;
  IsolatedInitCommonControls();
  InitLayoutTexts(page, ctx->pCuiParam);
  if (kReducedLayoutBuild)
    for (int id : kReducedPageHidden) ShowWindow(GetDlgItem(page, id), SW_HIDE);
  SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(InitLayoutImages(page, ctx->pCuiParam)));
}

void OnDestroy(HWND page) {
  if (HIMAGELIST images = ImagesOf(page)) {
    IsolatedImageListDestroy(images);
    SetWindowLongPtrW(page, GWLP_USERDATA, 0);
  }
}

}  // namespace

void InitLayoutTexts(HWND page, const OEMCUIPPARAM *block) {
  if (!page || !block) return;
  auto *module = static_cast<HMODULE>(block->hModule);
  for (const Label &label : kLabels)
    if (!kReducedLayoutBuild || label.onReducedPage)
      SetControlString(page, label.control, module, block->hOEMHeap, label.text);
}

HIMAGELIST InitLayoutImages(HWND page, const OEMCUIPPARAM *block) {
  if (!page || !block) return nullptr;
  HIMAGELIST images = IsolatedImageListCreate(20, 20, ILC_COLOR32 | ILC_MASK, 13, 0);
  // Without an image list the lists show their texts alone.
  if (!images) return nullptr;
  auto *module = static_cast<HINSTANCE>(block->hModule);
  for (WORD id : kLayoutIcons) {
    auto icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    if (!icon) continue;
    IsolatedImageListReplaceIcon(images, -1, icon);
    DestroyIcon(icon);
  }
  for (int id : {IDC_ORIENTATION_LIST, IDC_DUPLEX_LIST, IDC_PAGEORDER_LIST})
    SendDlgItemMessageW(page, id, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  return images;
}

INT_PTR CALLBACK LayoutPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    OnInitDialog(page, reinterpret_cast<const PROPSHEETPAGEW *>(lParam));
    return FALSE;
  }
  // The page owns its image list whatever became of the context since.
  if (message == WM_DESTROY) {
    OnDestroy(page);
    return FALSE;
  }
  UiContext *ctx = ContextOf(page);
  if (!ctx || !ctx->pCuiParam) return FALSE;
  const OEMCUIPPARAM *block = ctx->pCuiParam;
  switch (message) {
    case WM_PAINT:
      PaintLayoutPreview(page, ctx->pCuiParam);
      return FALSE;
    case WM_SHOWWINDOW:
      FillLayoutPage(page, block);
      return FALSE;
    case WM_NOTIFY: {
      const auto *header = reinterpret_cast<const NMHDR *>(lParam);
      if (!header) return FALSE;
      if (header->code == static_cast<UINT>(PSN_RESET)) return FALSE;
      if (header->code == static_cast<UINT>(PSN_APPLY) || header->code == static_cast<UINT>(PSN_KILLACTIVE))
        CommitLayoutItems(block, ctx->pDriverUI);
      return TRUE;
    }
    case WM_COMMAND:
      return OnLayoutCommand(page, wParam, block, ctx->pDriverUI);
    default:
      return FALSE;
  }
}

}  // namespace qx
