// The host driver's own part of every devmode, between the public DEVMODEW
// and the plug-in's block. Byte 114 holds the offset of the plug-in's block
// from the start of this part, where the plug-in looks for it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/choices.h"

namespace qxhost {

constexpr uint32_t kDriverPartSignature = 0x44485851;  // "QXHD" in memory order
constexpr uint16_t kDriverPartSize = 256;
constexpr uint16_t kDriverPartVersion = 1;
constexpr size_t kMaxChoices = 140;
constexpr uint8_t kNoChoice = 0xFF;  // the PPD's default
constexpr uint8_t kBooklet = 6;     // pages-per-sheet index meaning booklet

#pragma pack(push, 1)
struct DriverPart {
  uint32_t dwSignature;
  uint16_t wSize;
  uint16_t wVersion;
  uint8_t bPagesPerSheet;  // 0..5: 1, 2, 4, 6, 9, 16 pages; 6: booklet
  uint8_t bPageOrder;      // 0 front to back, 1 back to front
  uint8_t bNupDirection;   // 0..3
  uint8_t bBookletEdge;    // 0 left, 1 right
  uint8_t bDrawBorders;
  uint8_t bOrientation;    // 0 portrait, 1 landscape, 2 rotated landscape
  uint8_t reserved14[100];
  uint16_t wPluginOffset;  // offset 114
  uint8_t bChoices[kMaxChoices];
};
#pragma pack(pop)

static_assert(sizeof(DriverPart) == kDriverPartSize, "devmode layout");
static_assert(offsetof(DriverPart, wPluginOffset) == 114, "the plug-in reads its offset here");
static_assert(offsetof(DriverPart, bChoices) == 116, "devmode layout");

void InitDriverPart(DriverPart *part);
// True when `bytes` starts with a driver part of this version.
bool IsDriverPart(const void *bytes, size_t size);

void StoreChoices(const FeatureChoices &choices, DriverPart *part);
// Choices from the part; features beyond what it holds, or whose stored
// index is out of range, keep the PPD default.
FeatureChoices LoadChoices(const PrinterDescription &desc, const DriverPart &part);

}  // namespace qxhost
