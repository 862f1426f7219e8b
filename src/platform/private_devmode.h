// The plug-in's block of job settings inside every devmode. Its layout is a
// persisted format: documents, users and printers store it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qx {

constexpr uint32_t kPrivateDevmodeSize = 6904;
constexpr uint32_t kPluginSignature = 0x4B514C58;  // 'KQLX'
constexpr uint32_t kPrivateDevmodeVersion = 3;
constexpr size_t kTextUnits = 128;  // UTF-16 fields: 127 characters and a terminator

#pragma pack(push, 1)
struct PrivateDevmode {
  uint32_t dwSize;
  uint32_t dwSignature;
  uint32_t dwVersion;
  // Carried for the printer's other software, never read here.
  uint32_t dwReserved12;  // default 48
  uint32_t dwReserved16;  // default 0x06060606
  uint32_t dwReserved20;  // default 3
  uint8_t reserved24[36];
  uint32_t dwReserved60;  // default 1
  uint8_t bAccessControl;
  uint8_t reserved65[3];
  uint32_t dwReserveJobType;
  uint8_t reserved72[142];
  uint8_t padding214[2];
  uint32_t reserved216;
  char16_t wszReserveUserName[kTextUnits];
  char16_t wszReserveJobName[kTextUnits];
  char16_t wszReservePassword[kTextUnits];
  char16_t wszAccessUserName[kTextUnits];
  char szAccessPassword[256];
  uint8_t reserved1500[5404];
};
#pragma pack(pop)

static_assert(sizeof(PrivateDevmode) == kPrivateDevmodeSize, "persisted layout");
static_assert(offsetof(PrivateDevmode, dwReserved12) == 12, "persisted layout");
static_assert(offsetof(PrivateDevmode, dwReserved16) == 16, "persisted layout");
static_assert(offsetof(PrivateDevmode, dwReserved20) == 20, "persisted layout");
static_assert(offsetof(PrivateDevmode, reserved24) == 24, "persisted layout");
static_assert(offsetof(PrivateDevmode, dwReserved60) == 60, "persisted layout");
static_assert(offsetof(PrivateDevmode, bAccessControl) == 64, "persisted layout");
static_assert(offsetof(PrivateDevmode, dwReserveJobType) == 68, "persisted layout");
static_assert(offsetof(PrivateDevmode, wszReserveUserName) == 220, "persisted layout");
static_assert(offsetof(PrivateDevmode, wszReservePassword) == 732, "persisted layout");
static_assert(offsetof(PrivateDevmode, wszAccessUserName) == 988, "persisted layout");
static_assert(offsetof(PrivateDevmode, szAccessPassword) == 1244, "persisted layout");

// Writes the defaults into every byte but the two padding bytes. Null is ignored.
void InitPrivateDevmode(void *block);

// Converts or merges `in` into `out`; false when either is missing.
bool MergePrivateDevmode(const void *in, void *out);

// Finds the plug-in's block inside a complete devmode of `available` bytes
// (public part, driver part, plug-in block). Never reads outside those bytes;
// returns null when the block is absent, foreign, of another version or does
// not fit.
const PrivateDevmode *FindPrivateDevmode(const void *devmode, size_t available);

}  // namespace qx
