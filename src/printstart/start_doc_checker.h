// The check that runs when a job has just been started: a confidential job
// whose password does not have the printer's form, going to a real port, is
// refused, with a message where the person printing can see it. Stateless;
// one checker per document event.
#pragma once

#include <cstddef>

#include "platform/private_devmode.h"
#include "platform/ui_context.h"

namespace qx {

class StartDocChecker {
 public:
  virtual ~StartDocChecker() = default;

  // DOCUMENTEVENT_FAILURE when the job is refused, DOCUMENTEVENT_SUCCESS
  // otherwise (also whenever the job's or printer's information is missing).
  virtual INT CheckStartDocPost(HANDLE hPrinter, ULONG cbIn, DWORD jobId, UiContext *ctx);
  // The plug-in's block inside a job's devmode of `available` bytes.
  virtual bool FindPrivateDevmode(const DEVMODEW *devmode, size_t available, const PrivateDevmode **block);
  virtual bool CanShowMessage(HANDLE hPrinter, const PRINTER_INFO_2W *printer, const JOB_INFO_2W *job);
  virtual bool IsRealPort(const PRINTER_INFO_2W *printer);
  virtual bool IsPasswordMalformed(const PrivateDevmode *block, bool numeric);
  virtual bool IsNumericPasswordMode(HANDLE hPrinter, UiContext *ctx);
  // Builds the path of the module that holds the refusal text, from the
  // driver's configuration file ("OEMConfigFile1" of section "OEMFiles" in the
  // first dependent .ini that has it). The buffer is cleared when the module
  // does not exist.
  virtual bool FindMessageModule(HANDLE hPrinter, WCHAR *path, size_t length);
};

}  // namespace qx
