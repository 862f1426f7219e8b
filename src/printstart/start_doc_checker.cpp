#include "printstart/start_doc_checker.h"

#include <cwchar>

#include "activation/activation.h"
#include "ids_printstart.h"
#include "platform/bounded_strings.h"
#include "platform/spooler.h"
#include "platform/trace.h"
#include "printstart/path_parts.h"
#include "printstart/start_doc_rules.h"

namespace qx {
namespace {

constexpr size_t kModulePathLength = MAX_PATH;
constexpr int kMessageLength = 4080;
constexpr WCHAR kNoValue[] = L">---ERROR---<";

const char16_t *U16(const WCHAR *text) { return reinterpret_cast<const char16_t *>(text); }

// Bytes of a fetched block from `inner` to the block's end: 0 when `inner`
// lies outside.
template <typename T>
size_t BytesFrom(const SpoolerBlock<T> &block, const void *inner) {
  if (!block || !inner) return 0;
  const auto *begin = reinterpret_cast<const BYTE *>(block.get());
  const auto *at = static_cast<const BYTE *>(inner);
  if (at < begin || at >= begin + block.size()) return 0;
  return static_cast<size_t>(begin + block.size() - at);
}

// Path parts longer than these do not count (the runtime splitter's limits).
constexpr size_t kMaxDrive = 2;
constexpr size_t kMaxDirectory = 255;
constexpr size_t kMaxExtension = 255;

bool EndsWithIni(const WCHAR *file) {
  PathParts parts;
  if (!SplitPath(U16(file), &parts) || parts.extensionLength > kMaxExtension) return false;
  return EqualBounded(parts.extension, u".ini", false, 5) == 0;
}

// Drive and directory of `file`, then `name`, appended to `path`.
bool BuildSiblingPath(const WCHAR *file, const WCHAR *name, WCHAR *path, size_t length) {
  PathParts parts;
  if (!SplitPath(U16(file), &parts) || parts.driveLength > kMaxDrive || parts.directoryLength > kMaxDirectory)
    return false;
  // The drive and the directory follow each other in `file`.
  char16_t folder[kMaxDrive + kMaxDirectory + 1] = {};
  const size_t folderLength = parts.driveLength + parts.directoryLength;
  for (size_t i = 0; i < folderLength; ++i) folder[i] = U16(file)[i];
  auto *dest = reinterpret_cast<char16_t *>(path);
  return AppendBounded(dest, length, folder) && AppendBounded(dest, length, U16(name));
}

}  // namespace

INT StartDocChecker::CheckStartDocPost(HANDLE hPrinter, ULONG, DWORD jobId, UiContext *ctx) {
  if (!hPrinter || !ctx) return DOCUMENTEVENT_SUCCESS;
  SpoolerBlock<JOB_INFO_2W> job;
  if (FetchJobInfo(hPrinter, jobId, &job) != S_OK || !job->pDevMode) return DOCUMENTEVENT_SUCCESS;
  const Trace trace(hPrinter);
  const PrivateDevmode *block = nullptr;
  if (!FindPrivateDevmode(job->pDevMode, BytesFrom(job, job->pDevMode), &block)) {
    trace.Line(L"print start: job %lu accepted: its devmode holds no quillex settings", jobId);
    return DOCUMENTEVENT_SUCCESS;
  }
  const bool numeric = IsNumericPasswordMode(hPrinter, ctx);
  const WCHAR *form = numeric ? L"four digits" : L"eight characters";
  if (!IsPasswordMalformed(block, numeric)) {
    trace.Line(L"print start: job %lu accepted: not confidential, or its password has the printer's form (%ls)", jobId, form);
    return DOCUMENTEVENT_SUCCESS;
  }
  SpoolerBlock<PRINTER_INFO_2W> printer;
  if (FetchPrinterInfo(hPrinter, &printer) != S_OK) return DOCUMENTEVENT_SUCCESS;
  if (!IsRealPort(printer.get())) {
    trace.Line(L"print start: job %lu accepted: password not of the form %ls, but port \"%ls\" prints nothing", jobId,
               form, printer->pPortName ? printer->pPortName : L"");
    return DOCUMENTEVENT_SUCCESS;
  }

  // Refused from here on; what follows only decides whether to say so.
  const bool seen = CanShowMessage(hPrinter, printer.get(), job.get());
  trace.Line(L"print start: job %lu refused: password not of the printer's form (%ls); message %ls (shared %ls, raw-only %ls)",
             jobId, form, seen ? L"shown" : L"not shown", printer->Attributes & PRINTER_ATTRIBUTE_SHARED ? L"yes" : L"no",
             printer->Attributes & PRINTER_ATTRIBUTE_RAW_ONLY ? L"yes" : L"no");
  if (seen) {
    WCHAR path[kModulePathLength] = {};
    if (FindMessageModule(hPrinter, path, kModulePathLength)) {
      ModuleHandle module(IsolatedLoadLibrary(path));
      if (module) {
        WCHAR text[kMessageLength] = {};
        if (LoadStringW(module.get(), IDS_BAD_PASSWORD, text, kMessageLength) > 0)
          MessageBoxW(nullptr, text, printer->pDriverName, MB_OK);
      }
    }
  }
  return DOCUMENTEVENT_FAILURE;
}

bool StartDocChecker::FindPrivateDevmode(const DEVMODEW *devmode, size_t available, const PrivateDevmode **block) {
  *block = qx::FindPrivateDevmode(devmode, available);
  return *block != nullptr;
}

bool StartDocChecker::CanShowMessage(HANDLE hPrinter, const PRINTER_INFO_2W *printer, const JOB_INFO_2W *job) {
  if (!hPrinter || !printer || !job) return false;
  RefusalAudience audience;
  audience.attributes = printer->Attributes;
  DWORD despooling = 0;
  audience.despoolingIsZero =
      ReadPrinterDword(hPrinter, L"EMFDespoolingSetting", &despooling) == ERROR_SUCCESS && despooling == 0;
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (GetVersionExW(&version)) {
    audience.versionKnown = true;
    audience.majorVersion = version.dwMajorVersion;
    audience.minorVersion = version.dwMinorVersion;
  }
  return CanShowRefusal(audience);
}

bool StartDocChecker::IsRealPort(const PRINTER_INFO_2W *printer) {
  return printer && IsRealPortName(U16(printer->pPortName));
}

bool StartDocChecker::IsPasswordMalformed(const PrivateDevmode *block, bool numeric) {
  return qx::IsPasswordMalformed(block, numeric);
}

bool StartDocChecker::IsNumericPasswordMode(HANDLE hPrinter, UiContext *ctx) {
  if (!hPrinter || !ctx) return false;
  DWORD region = 0;
  if (ReadPrinterDword(hPrinter, L"QXRegion", &region) != ERROR_SUCCESS) return false;
  return IsNumericPasswordRegion(region);
}

bool StartDocChecker::FindMessageModule(HANDLE hPrinter, WCHAR *path, size_t length) {
  if (!hPrinter || !path || length == 0) return false;
  SpoolerBlock<DRIVER_INFO_3W> driver;
  if (FetchDriverInfo(hPrinter, &driver) != S_OK || !driver->pDependentFiles) return false;
  // The list is NUL-separated and ends with an empty entry; it is never read
  // past the fetched block.
  const WCHAR *entry = driver->pDependentFiles;
  for (size_t left = BytesFrom(driver, entry) / sizeof(WCHAR); left > 0 && *entry;) {
    const size_t entryLength = wcsnlen(entry, left);
    if (entryLength == left) break;  // unterminated
    if (EndsWithIni(entry)) {
      WCHAR value[32] = {};
      GetPrivateProfileStringW(L"OEMFiles", L"OEMConfigFile1", kNoValue, value, 32, entry);
      if (EqualBounded(U16(value), U16(kNoValue), true, 14) != 0) {
        // This file decides.
        if (!BuildSiblingPath(entry, value, path, length)) return false;
        if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) return true;
        ZeroMemory(path, length * sizeof(WCHAR));
        return false;
      }
    }
    entry += entryLength + 1;
    left -= entryLength + 1;
  }
  return false;
}

}  // namespace qx
