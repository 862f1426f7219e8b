// Dialog 11001 and the Layout page's texts as they are stored in the DLL.
#include <gtest/gtest.h>

#include <cwctype>
#include <set>
#include <string>
#include <vector>

#include "driversim/dialog_template.h"
#include "platform/build_variant.h"
#include "resources/ids_layoutpage.h"
#include "support/plugin_loader.h"

namespace {

constexpr bool kReduced = qx::kReducedLayoutBuild;

struct ControlRow {
  DWORD id;
  const wchar_t *cls;
  DWORD style;
  short x, y, w, h;
  const wchar_t *text;
};

// Windows' predefined class ordinals, as resource compilers may store them.
std::wstring ClassName(const std::wstring &stored) {
  if (stored == L"#128") return L"BUTTON";
  if (stored == L"#130") return L"STATIC";
  if (stored == L"#133") return L"COMBOBOX";
  std::wstring upper;
  for (wchar_t c : stored) upper += static_cast<wchar_t>(std::towupper(c));
  return upper == L"COMBOBOXEX32" ? L"ComboBoxEx32" : upper;
}

TEST(LayoutResources, DialogTemplateIsExactlyTheTable) {
  qxtest::PluginLoader loader;
  const qxsim::DialogTemplate t = qxsim::ReadDialogTemplate(loader.module(), MAKEINTRESOURCEW(IDD_LAYOUT_PAGE),
                                                            MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
  ASSERT_TRUE(t.ok);
  EXPECT_EQ(t.version, 1);          // dlgVer
  EXPECT_EQ(t.signature, 0xFFFF);  // extended template
  EXPECT_EQ(t.exStyle, 0u);
  EXPECT_EQ(t.style, 0x48C80042u);
  const WORD count = t.count;
  EXPECT_EQ(count, 16);
  EXPECT_EQ(t.x, 0);
  EXPECT_EQ(t.y, 0);
  EXPECT_EQ(t.cx, 320);
  EXPECT_EQ(t.cy, 346);
  EXPECT_EQ(t.menu.Text(), L"");  // no menu
  EXPECT_EQ(t.cls.Text(), L"");   // default class
  EXPECT_EQ(t.caption, L"Layout");
  EXPECT_EQ(t.pointSize, kReduced ? 8 : 9);
  EXPECT_EQ(t.face, kReduced ? L"MS Shell Dlg" : L"MS UI Gothic");

  const ControlRow rows[] = {
      {11003, L"STATIC", 0x50020000, 6, 10, 74, 9, L"&Orientation:"},
      {11004, L"ComboBoxEx32", 0x50210003, 6, 20, 120, 60, L""},
      {11005, L"STATIC", 0x50020000, 6, 44, 74, 9, L"Print on &Both Sides:"},
      {11006, L"ComboBoxEx32", 0x50210003, 6, 54, 120, 60, L""},
      {11007, L"STATIC", 0x50020000, 6, 78, 74, 9, L"Page O&rder:"},
      {11008, L"ComboBoxEx32", 0x50210003, 6, 88, 120, 60, L""},
      {11009, L"BUTTON", 0x50000007, 6, 116, 120, 144, L"Page Format"},
      {11010, L"BUTTON", 0x50000009, 10, 126, 85, 21, L"Page&s per Sheet:"},
      {11011, L"BUTTON", 0x50000009, 10, 178, 85, 21, L"Boo&klet"},
      {11012, L"COMBOBOX", 0x50230103, 97, 130, 25, 30, L""},
      {11013, L"STATIC", 0x50020000, 16, 149, 109, 9, L"Pages per Sheet &Layout:"},
      {11014, L"COMBOBOX", 0x50230103, 16, 159, 100, 30, L""},
      {11015, L"STATIC", 0x50020000, 16, 199, 109, 9, L"Booklet Binding &Edge:"},
      {11016, L"COMBOBOX", 0x50230103, 16, 209, 100, 30, L""},
      {11017, L"BUTTON", 0x50010003, 10, 240, 110, 9, L"Dra&w Borders:"},
      {11018, L"STATIC", 0x50000107, 130, 10, 155, 250, L""},
  };
  for (int i = 0; i < count && i < 16; ++i) {
    const ControlRow &row = rows[i];
    const qxsim::DialogControl &c = t.controls[i];
    EXPECT_EQ(c.exStyle, 0u) << row.id;
    EXPECT_EQ(c.style, row.style) << row.id;
    EXPECT_EQ(c.x, row.x) << row.id;
    EXPECT_EQ(c.y, row.y) << row.id;
    EXPECT_EQ(c.cx, row.w) << row.id;
    EXPECT_EQ(c.cy, row.h) << row.id;
    EXPECT_EQ(c.id, row.id);
    EXPECT_EQ(ClassName(c.cls.Text()), row.cls) << row.id;
    EXPECT_EQ(c.text.Text(), row.text) << row.id;
    EXPECT_EQ(c.extraBytes, 0) << row.id;
  }
}

// String `id` of the table in language `lang`, read from its block.
bool FindString(HMODULE module, UINT id, LANGID lang, std::wstring *out) {
  HRSRC res = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), lang);
  if (!res) return false;
  auto p = static_cast<const WCHAR *>(LockResource(LoadResource(module, res)));
  for (UINT i = 0; i < id % 16; ++i) p += 1 + *p;
  out->assign(p + 1, *p);
  return !out->empty();
}

const UINT kLabelIds[] = {11050, 11051, 11052, 11054, 11055, 11056, 11058, 11059};

std::vector<UINT> AllIds() {
  std::vector<UINT> ids = {11002, 11053};
  ids.insert(ids.end(), std::begin(kLabelIds), std::end(kLabelIds));
  for (UINT first : {11060u, 11065u}) for (UINT k = 0; k < 3; ++k) ids.push_back(first + k);
  for (UINT k = 0; k < 2; ++k) ids.push_back(11070 + k);
  for (UINT k = 0; k < 6; ++k) ids.push_back(11080 + k);
  for (UINT k = 0; k < 4; ++k) ids.push_back(11090 + k);
  for (UINT k = 0; k < 2; ++k) ids.push_back(11095 + k);
  return ids;
}

const LANGID kLanguages[] = {
    MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN),
    MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH),   MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN),
    MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), MAKELANGID(LANG_DUTCH, SUBLANG_DUTCH),
    MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN), MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN),
};

TEST(LayoutResources, EveryTextExistsInEightLanguagesWithDistinctAccessKeys) {
  qxtest::PluginLoader loader;
  for (LANGID lang : kLanguages) {
    for (UINT id : AllIds()) {
      std::wstring text;
      EXPECT_TRUE(FindString(loader.module(), id, lang, &text)) << "string " << id << " language " << lang;
    }
    // The page's labels must not share an access key.
    std::set<wchar_t> keys;
    for (UINT id : kLabelIds) {
      std::wstring text;
      FindString(loader.module(), id, lang, &text);
      const size_t amp = text.find(L'&');
      ASSERT_NE(amp, std::wstring::npos) << id << " language " << lang;
      EXPECT_TRUE(keys.insert(static_cast<wchar_t>(std::towupper(text[amp + 1]))).second)
          << "access key of " << id << " repeated in language " << lang;
    }
  }
}

TEST(LayoutResources, NeutralTableHoldsTheEnglishTexts) {
  qxtest::PluginLoader loader;
  const std::pair<UINT, const wchar_t *> expected[] = {
      {11002, L"Layout"}, {11054, L"Page&s per Sheet"}, {11059, L"Dra&w Borders"},
      {11062, L"Rotated Landscape"}, {11067, L"Flip on Long Edge"}, {11085, L"16"},
      {11093, L"Down then Left"}, {11096, L"On Right Edge"},
  };
  for (const auto &e : expected) {
    std::wstring text;
    FindString(loader.module(), e.first, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &text);
    EXPECT_EQ(text, e.second);
  }
  std::wstring german;
  FindString(loader.module(), 11060, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), &german);
  EXPECT_EQ(german, L"Hochformat");
}

}  // namespace
