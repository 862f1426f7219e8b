#include "jobpage/job_rules.h"

#include <cstring>

namespace qx {

bool FilterAccepts(EditFilter filter, uint32_t ch) {
  if (ch == 8) return true;  // backspace edits, it never inserts
  switch (filter) {
    case EditFilter::Name:
      return ch >= 0x20 && ch <= 0x7E && ch != '"' && ch != '%';
    case EditFilter::AccessPassword:
      return ch >= 0x21 && ch <= 0x7E;
    case EditFilter::Printable:
      return ch >= 0x20 && ch <= 0x7E;
    case EditFilter::Digit:
      return ch >= '0' && ch <= '9';
  }
  return false;
}

size_t ReservePasswordLimit(uint32_t passwordMode) { return passwordMode == kNumericPasswords ? 4 : 8; }

EditFilter ReservePasswordFilter(uint32_t passwordMode) {
  return passwordMode == kNumericPasswords ? EditFilter::Digit : EditFilter::Printable;
}

bool ShowsReservePassword(uint32_t jobType, size_t passwordLength, uint32_t passwordMode) {
  if (jobType == 4) return passwordMode == kNumericPasswords;
  if (jobType == 5) return passwordLength == ReservePasswordLimit(passwordMode);
  return false;
}

bool ReserveEntriesComplete(size_t userNameLength, size_t jobNameLength, size_t passwordLength,
                            uint32_t passwordMode) {
  return userNameLength > 0 && jobNameLength > 0 && passwordLength >= ReservePasswordLimit(passwordMode);
}

RegionVerdict JudgeRegion(bool readOk, uint32_t region) {
  if (!readOk || !(region & 1)) return RegionVerdict::EightChars;
  if (!(region & 2)) return RegionVerdict::Numeric;
  return RegionVerdict::AskDriver;
}

uint32_t PasswordModeFromSetting(const char *answer, size_t size) {
  // Exact texts: the terminator must lie inside the buffer.
  if (answer && size >= 3 && std::memcmp(answer, "ON", 3) == 0) return kNumericPasswords;
  return kEightCharPasswords;
}

bool AccessEntriesFit(size_t userNameLength, size_t passwordUtf8Bytes) {
  return userNameLength <= kAccessUserNameLimit && passwordUtf8Bytes <= kAccessPasswordByteLimit;
}

size_t Utf8PrefixLength(const char *text, size_t length, size_t maxBytes) {
  if (!text) return 0;
  if (length <= maxBytes) return length;
  // Step back over continuation bytes (10xxxxxx) to the start of the
  // character that the cut would split.
  size_t cut = maxBytes;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}

}  // namespace qx
