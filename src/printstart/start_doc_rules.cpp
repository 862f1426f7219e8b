#include "printstart/start_doc_rules.h"

#include <initializer_list>

#include "platform/bounded_strings.h"

namespace qx {
namespace {

constexpr uint32_t kAttributeShared = 0x8;
constexpr uint32_t kAttributeRawOnly = 0x1000;

bool AllDigits(const char16_t *text, size_t length) {
  for (size_t i = 0; i < length; ++i)
    if (text[i] < u'0' || text[i] > u'9') return false;
  return true;
}

bool Equal(const char16_t *a, const char16_t *b) {
  for (; *a && *a == *b; ++a, ++b) {}
  return *a == *b;
}

}  // namespace

bool IsPasswordMalformed(const PrivateDevmode *block, bool numeric) {
  if (!block) return false;
  const char16_t *password = block->wszReservePassword;
  const size_t length = LengthBounded(password);
  switch (block->dwReserveJobType) {
    case kReserveJobNumeric:
      return !(numeric && length == 4 && AllDigits(password, length));
    case kReserveJobSecure:
      return length != (numeric ? 4u : 8u) || (numeric && !AllDigits(password, length));
    default:
      return false;
  }
}

bool IsRealPortName(const char16_t *port) {
  if (!port) return false;
  for (const char16_t *pseudo : {u"FILE:", u"NUL", u"NUL:", u"NulPort"})
    if (Equal(port, pseudo)) return false;
  return true;
}

bool IsNumericPasswordRegion(uint32_t region) {
  if (!(region & 0x1)) return false;
  if (!(region & 0x2)) return true;
  return (region & 0x4) != 0;
}

bool CanShowRefusal(const RefusalAudience &audience) {
  if (!(audience.attributes & kAttributeShared)) return true;
  if (audience.despoolingIsZero) return true;
  if (!(audience.attributes & kAttributeRawOnly)) return false;
  if (!audience.versionKnown) return true;
  const bool from62 = audience.majorVersion > 6 || (audience.majorVersion == 6 && audience.minorVersion >= 2);
  return !from62;
}

}  // namespace qx
