#include "platform/private_devmode.h"

#include <algorithm>
#include <cstring>

namespace qx {
namespace {

// Public devmode fields, at their offsets in DEVMODEW.
constexpr size_t kDmSizeOffset = 68;
constexpr size_t kDmDriverExtraOffset = 70;
constexpr size_t kPublicFieldsEnd = 72;
// The driver keeps the plug-in block's offset in a 16-bit field of its own
// private area, once that area is large enough to hold it.
constexpr size_t kPluginOffsetField = 114;
constexpr size_t kDriverAreaWithOffsetField = 116;

uint16_t ReadU16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t ReadU32(const uint8_t *p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
void WriteU32(uint8_t *p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

void InitPrivateDevmode(void *block) {
  if (!block) return;
  auto *p = static_cast<uint8_t *>(block);
  constexpr size_t padding = offsetof(PrivateDevmode, padding214);
  constexpr size_t afterPadding = offsetof(PrivateDevmode, reserved216);
  std::memset(p, 0, padding);
  std::memset(p + afterPadding, 0, kPrivateDevmodeSize - afterPadding);
  WriteU32(p + offsetof(PrivateDevmode, dwSize), kPrivateDevmodeSize);
  WriteU32(p + offsetof(PrivateDevmode, dwSignature), kPluginSignature);
  WriteU32(p + offsetof(PrivateDevmode, dwVersion), kPrivateDevmodeVersion);
  WriteU32(p + offsetof(PrivateDevmode, dwReserved12), 48);
  WriteU32(p + offsetof(PrivateDevmode, dwReserved16), 0x06060606);
  WriteU32(p + offsetof(PrivateDevmode, dwReserved20), 3);
  WriteU32(p + offsetof(PrivateDevmode, dwReserved60), 1);
}

bool MergePrivateDevmode(const void *in, void *out) {
  if (!in || !out) return false;
  const auto *src = static_cast<const uint8_t *>(in);
  auto *dst = static_cast<uint8_t *>(out);
  if (ReadU32(src + 4) != ReadU32(dst + 4)) {
    InitPrivateDevmode(out);
    return true;
  }
  // Both blocks are at most one block long as far as the plug-in knows: a
  // size field above that never widens the copy past either buffer.
  uint32_t common = std::min({ReadU32(src), ReadU32(dst), kPrivateDevmodeSize});
  std::memmove(dst, src, common);
  WriteU32(dst + 0, kPrivateDevmodeSize);
  WriteU32(dst + 8, kPrivateDevmodeVersion);
  return true;
}

const PrivateDevmode *FindPrivateDevmode(const void *devmode, size_t available) {
  if (!devmode || available < kPublicFieldsEnd) return nullptr;
  const auto *base = static_cast<const uint8_t *>(devmode);
  const size_t dmSize = ReadU16(base + kDmSizeOffset);
  const size_t dmDriverExtra = ReadU16(base + kDmDriverExtraOffset);
  if (dmSize > available || dmDriverExtra > available - dmSize) return nullptr;
  const uint8_t *extra = base + dmSize;
  size_t offset = 0;
  if (dmDriverExtra > kDriverAreaWithOffsetField) offset = ReadU16(extra + kPluginOffsetField);
  if (offset >= dmDriverExtra || offset + kPrivateDevmodeSize > dmDriverExtra) return nullptr;
  const uint8_t *block = extra + offset;
  if (ReadU32(block) != kPrivateDevmodeSize || ReadU32(block + 4) != kPluginSignature ||
      ReadU32(block + 8) != kPrivateDevmodeVersion)
    return nullptr;
  return reinterpret_cast<const PrivateDevmode *>(block);
}

}  // namespace qx
