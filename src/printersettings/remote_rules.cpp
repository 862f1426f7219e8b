#include "printersettings/remote_rules.h"

namespace qx {
namespace {

// Only a to z change: computer names are compared as NetBIOS names are.
char16_t UpperAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c; }

// Compared in place rather than on upper-case copies: nothing to allocate,
// nothing that can fail.
bool StartsWithUpper(const char16_t *text, const char16_t *end, const char16_t *upperPrefix) {
  for (; *upperPrefix; ++text, ++upperPrefix)
    if (text == end || UpperAscii(*text) != *upperPrefix) return false;
  return true;
}

bool EqualsUpper(const char16_t *text, const char16_t *end, const char16_t *other) {
  for (; text != end; ++text, ++other)
    if (!*other || UpperAscii(*text) != UpperAscii(*other)) return false;
  return *other == 0;
}

}  // namespace

bool IsOtherServerName(const char16_t *printerName, const char16_t *computerName) {
  if (!printerName || !computerName) return false;
  if (printerName[0] != u'\\' || printerName[1] != u'\\') return false;
  const char16_t *server = printerName;
  while (*server == u'\\') ++server;
  const char16_t *end = server;
  while (*end && *end != u'\\') ++end;

  if (StartsWithUpper(server, end, u"HTTP://")) return false;
  return !EqualsUpper(server, end, computerName);
}

bool IsRedirectedSessionPrinter(uint32_t attributes, const char16_t *portName) {
  const uint32_t both = kPrinterAttributeTs | kPrinterAttributeLocal;
  if ((attributes & both) != both) return false;
  if (!portName) return true;
  static const char16_t kClientPrefix[] = u"Client:";
  for (const char16_t *p = kClientPrefix; *p; ++p, ++portName)
    if (*portName != *p) return true;
  return false;
}

}  // namespace qx
