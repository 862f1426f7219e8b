#include "jobpage/password_mode.h"

#include "platform/spooler.h"
#include "jobpage/job_rules.h"

namespace qx {
namespace {

// A block on the driver's heap, freed at scope end.
class HeapBlock {
 public:
  HeapBlock(HANDLE heap, SIZE_T size) : heap_(heap), p_(HeapAlloc(heap, HEAP_ZERO_MEMORY, size)) {}
  HeapBlock(const HeapBlock &) = delete;
  HeapBlock &operator=(const HeapBlock &) = delete;
  ~HeapBlock() { if (p_) HeapFree(heap_, 0, p_); }
  void *get() const { return p_; }

 private:
  HANDLE heap_;
  void *p_;
};

constexpr DWORD kSettingBufferSize = 64;

}  // namespace

DWORD GetPasswordMode(UiContext *ctx) {
  if (!ctx || !ctx->pCuiParam) return kNumericPasswords;
  if (ctx->dwCachedRegion & 1) return ctx->dwCachedPasswordMode;
  const OEMCUIPPARAM &param = *ctx->pCuiParam;
  if (!param.hPrinter) return kNumericPasswords;

  ctx->dwCachedPasswordMode = kEightCharPasswords;
  DWORD region = 0;
  bool readOk = ReadPrinterDword(param.hPrinter, L"QXRegion", &region) == ERROR_SUCCESS;
  if (readOk) ctx->dwCachedRegion = region;
  switch (JudgeRegion(readOk, region)) {
    case RegionVerdict::EightChars:
      return kEightCharPasswords;
    case RegionVerdict::Numeric:
      ctx->dwCachedPasswordMode = kNumericPasswords;
      return kNumericPasswords;
    case RegionVerdict::AskDriver:
      break;
  }

  if (!param.hOEMHeap || !ctx->pDriverUI) return kEightCharPasswords;
  HeapBlock answer(param.hOEMHeap, kSettingBufferSize);
  if (!answer.get()) return kEightCharPasswords;
  DWORD needed = 0, options = 0;
  if (SUCCEEDED(ctx->pDriverUI->DrvGetDriverSetting(param.poemuiobj, "PasswordMode", answer.get(),
                                                    kSettingBufferSize, &needed, &options)))
    ctx->dwCachedPasswordMode =
        PasswordModeFromSetting(static_cast<const char *>(answer.get()), kSettingBufferSize);
  return ctx->dwCachedPasswordMode;
}

}  // namespace qx
