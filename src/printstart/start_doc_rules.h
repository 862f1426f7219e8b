// The decisions of the print-start check of confidential jobs, as plain
// functions over values: which passwords are malformed, which ports are real,
// which printers want numeric passwords, and when a refusal can be seen.
#pragma once

#include <cstdint>

#include "platform/private_devmode.h"

namespace qx {

constexpr uint32_t kReserveJobNumeric = 4;  // confidential job, four digits only
constexpr uint32_t kReserveJobSecure = 5;   // confidential job in the printer's form

// Whether the block's confidential-job password breaks the rules of its job
// type: type 4 needs numeric mode and four digits; type 5 needs four digits in
// numeric mode and eight characters of any kind otherwise. Other types, and a
// missing block, are never malformed.
bool IsPasswordMalformed(const PrivateDevmode *block, bool numeric);

// False for the file and null ports ("FILE:", "NUL", "NUL:", "NulPort",
// matched whole and with case) and for a missing name; a list of ports is real.
bool IsRealPortName(const char16_t *port);

// The printer's stored QXRegion value asks for four-digit passwords: bit 0
// set and either bit 1 clear or bit 2 set.
bool IsNumericPasswordRegion(uint32_t region);

// Whether the person printing can see a refusal message. A printer that is not
// shared shows it; a shared one shows it when it despools EMF on the client
// (EMFDespoolingSetting read as 0), or when it is raw-only on a system before
// 6.2 (or of unknown version), where raw jobs still render on the client.
struct RefusalAudience {
  uint32_t attributes = 0;           // PRINTER_INFO_2 Attributes
  bool despoolingIsZero = false;     // EMFDespoolingSetting read as a 4-byte 0
  bool versionKnown = false;
  uint32_t majorVersion = 0, minorVersion = 0;
};
bool CanShowRefusal(const RefusalAudience &audience);

}  // namespace qx
