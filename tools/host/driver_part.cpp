#include "host/driver_part.h"

#include <cstring>

namespace qxhost {

void InitDriverPart(DriverPart *part) {
  std::memset(part, 0, sizeof *part);
  part->dwSignature = kDriverPartSignature;
  part->wSize = kDriverPartSize;
  part->wVersion = kDriverPartVersion;
  part->wPluginOffset = kDriverPartSize;
  std::memset(part->bChoices, kNoChoice, sizeof part->bChoices);
}

bool IsDriverPart(const void *bytes, size_t size) {
  if (!bytes || size < sizeof(DriverPart)) return false;
  DriverPart part;
  std::memcpy(&part, bytes, sizeof part);
  return part.dwSignature == kDriverPartSignature && part.wSize == kDriverPartSize &&
         part.wVersion == kDriverPartVersion;
}

void StoreChoices(const FeatureChoices &choices, DriverPart *part) {
  for (size_t i = 0; i < kMaxChoices; ++i) {
    int v = i < choices.index.size() ? choices.index[i] : -1;
    part->bChoices[i] = (v >= 0 && v < kNoChoice) ? static_cast<uint8_t>(v) : kNoChoice;
  }
}

FeatureChoices LoadChoices(const PrinterDescription &desc, const DriverPart &part) {
  FeatureChoices c = DefaultChoices(desc);
  for (size_t i = 0; i < desc.features.size() && i < kMaxChoices; ++i) {
    uint8_t v = part.bChoices[i];
    if (v != kNoChoice && v < desc.features[i].options.size()) c.index[i] = v;
  }
  return c;
}

}  // namespace qxhost
