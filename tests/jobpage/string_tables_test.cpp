// Every string the plug-in shows exists in all eight string tables, and the
// seven translated tables do not just repeat the English text.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/languages.h"
#include "support/plugin_loader.h"

namespace {

using qxtest::kNeutral;
using qxtest::kTranslations;
using qxtest::Language;

// Words that the language really spells as English does.
const std::set<std::pair<UINT, LANGID>> kSameAsEnglish = {
    {25001, MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN)},  // "Error"
    {15004, MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN)},         // "Password"
    {10025, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)},           // "Duplex"
    {11002, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)},           // "Layout"
    {11002, MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN)},
    {11002, MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN)},
    {11060, MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)},           // "Portrait"
    // "CompactFlash" is a trade name in every language.
    {10028, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)},
    {10028, MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)},
    {10028, MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN)},
    {10028, MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)},
    {10028, MAKELANGID(LANG_DUTCH, SUBLANG_DUTCH)},
    {10028, MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN)},
    {10028, MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN)},
};

// The string `id` of one language's table, read from the table's block with
// FindResourceExW; false when the block or the entry is missing.
bool FindString(HMODULE module, UINT id, LANGID language, std::wstring *text) {
  HRSRC block = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
  if (!block) return false;
  HGLOBAL loaded = LoadResource(module, block);
  auto *p = static_cast<const WCHAR *>(LockResource(loaded));
  DWORD size = SizeofResource(module, block);
  if (!p) return false;
  const WCHAR *end = p + size / sizeof(WCHAR);
  for (UINT i = 0; i < id % 16; ++i) {
    if (p >= end) return false;
    p += 1 + *p;
  }
  if (p >= end || *p == 0 || p + 1 + *p > end) return false;
  text->assign(p + 1, *p);
  return true;
}

bool HasLetters(const std::wstring &text) {
  for (wchar_t c : text)
    if (IsCharAlphaW(c)) return true;
  return false;
}

void ExpectTranslated(HMODULE module, UINT id) {
  std::wstring english;
  ASSERT_TRUE(FindString(module, id, kNeutral.id, &english)) << "string " << id << " missing in the neutral table";
  for (const Language &language : kTranslations) {
    std::wstring text;
    if (!FindString(module, id, language.id, &text)) {
      ADD_FAILURE() << "string " << id << " missing in " << language.name;
      continue;
    }
    if (text == english && HasLetters(text) && !kSameAsEnglish.count({id, language.id}))
      ADD_FAILURE() << "string " << id << " untranslated in " << language.name;
  }
}

std::vector<UINT> Range(UINT first, UINT last) {
  std::vector<UINT> ids;
  for (UINT id = first; id <= last; ++id) ids.push_back(id);
  return ids;
}

TEST(StringTables, PrintingPreferencesStringsInEveryLanguage) {
  qxtest::PluginLoader loader;
  std::vector<UINT> ids = Range(15001, 15006);
  for (UINT id : {20147u, 25001u, 25004u, 25011u, 25012u, 25013u}) ids.push_back(id);
  for (UINT id : ids) ExpectTranslated(loader.module(), id);
}

// Every id any subsystem names. Extend the list as subsystems add strings.
TEST(StringTables, EverySubsystemsStringsInEveryLanguage) {
  qxtest::PluginLoader loader;
  std::vector<UINT> ids = Range(10001, 10028);  // feature names
  for (UINT id : {25014u, 25015u}) ids.push_back(id);
  for (UINT id : {11002u, 11050u, 11051u, 11052u, 11053u, 11054u, 11055u, 11056u, 11058u, 11059u}) ids.push_back(id);
  for (UINT id : Range(11060, 11062)) ids.push_back(id);
  for (UINT id : Range(11065, 11067)) ids.push_back(id);
  for (UINT id : Range(11070, 11071)) ids.push_back(id);
  for (UINT id : Range(11080, 11085)) ids.push_back(id);
  for (UINT id : Range(11090, 11093)) ids.push_back(id);
  for (UINT id : Range(11095, 11096)) ids.push_back(id);
  for (UINT id : ids) ExpectTranslated(loader.module(), id);
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR name, WORD language, LONG_PTR out) {
  (*reinterpret_cast<std::map<UINT, std::set<LANGID>> *>(out))[LOWORD(reinterpret_cast<ULONG_PTR>(name))].insert(
      language);
  return TRUE;
}

BOOL CALLBACK CollectBlock(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR out) {
  if (IS_INTRESOURCE(name)) EnumResourceLanguagesW(module, type, name, CollectLanguage, out);
  return TRUE;
}

// Whatever string any table holds, every other table holds it too.
TEST(StringTables, EveryEntryOfEveryTable) {
  qxtest::PluginLoader loader;
  std::map<UINT, std::set<LANGID>> blocks;
  EnumResourceNamesW(loader.module(), RT_STRING, CollectBlock, reinterpret_cast<LONG_PTR>(&blocks));
  ASSERT_FALSE(blocks.empty());
  for (const auto &block : blocks)
    for (UINT id = (block.first - 1) * 16; id < block.first * 16; ++id) {
      bool anywhere = false;
      std::wstring text;
      for (LANGID language : block.second) anywhere = anywhere || FindString(loader.module(), id, language, &text);
      if (anywhere) ExpectTranslated(loader.module(), id);
    }
}

}  // namespace
