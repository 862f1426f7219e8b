// The decisions behind the "Extended Settings" page, as plain functions over
// values: which typed characters an edit accepts, when the confidential-job
// entries are complete, how the printer's password form is decided, and how
// far a UTF-8 text may be cut.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qx {

// Password forms, as the page and the UI context's cache hold them.
constexpr uint32_t kNumericPasswords = 0;    // exactly four digits
constexpr uint32_t kEightCharPasswords = 1;  // exactly eight characters

enum class EditFilter {
  Name,            // printable ASCII but the double quote and the percent sign
  AccessPassword,  // printable ASCII without the space
  Printable,       // printable ASCII
  Digit,           // "0" to "9"
};

// Whether a typed character (WM_CHAR) reaches the edit. Backspace always does.
bool FilterAccepts(EditFilter filter, uint32_t ch);

// Limit and filter of the confidential-job password edit in a password form.
size_t ReservePasswordLimit(uint32_t passwordMode);
EditFilter ReservePasswordFilter(uint32_t passwordMode);

// Whether a stored confidential-job password is shown when the page loads:
// only one that a job of `jobType` could print with in this form.
bool ShowsReservePassword(uint32_t jobType, size_t passwordLength, uint32_t passwordMode);

// The confidential-job entries are complete: both names given and a password
// at least as long as the form asks.
bool ReserveEntriesComplete(size_t userNameLength, size_t jobNameLength, size_t passwordLength,
                            uint32_t passwordMode);

// Limits of the access-control entries in the devmode: the user name in
// characters, the password in UTF-8 bytes without the terminator.
constexpr size_t kAccessUserNameLimit = 14;
constexpr size_t kAccessPasswordByteLimit = 70;

// The access-control entries fit their devmode fields whole, so that what the
// page shows is what it stores; otherwise the page refuses to store them.
bool AccessEntriesFit(size_t userNameLength, size_t passwordUtf8Bytes);

// What the printer's QXRegion value says about the password form.
enum class RegionVerdict {
  EightChars,  // no value, or bit 0 clear: the nation's form was never decided
  Numeric,     // bit 0 set, bit 1 clear: numeric only
  AskDriver,   // bits 0 and 1 set: the driver's PasswordMode setting decides
};
RegionVerdict JudgeRegion(bool readOk, uint32_t region);

// The driver's PasswordMode answer in a `size`-byte buffer: "ON" means
// numeric passwords, anything else (including "OFF") eight characters.
uint32_t PasswordModeFromSetting(const char *answer, size_t size);

// The longest prefix of the UTF-8 `text` (`length` bytes) that has at most
// `maxBytes` bytes and does not end inside a character.
size_t Utf8PrefixLength(const char *text, size_t length, size_t maxBytes);

}  // namespace qx
